#pragma once
// The CANopen SDO client editor: the SDO requests the converter sends to other nodes, reads whose
// answers go into its input array and writes whose data come from its output array, kept in
// "SDO_Client_CANopen.xml".

#include "editors/canopen/UCANopen_Access.h"

class TFSet_SDO_Client_Access : public TFCANopen_SDO_Access {
public:
    explicit TFSet_SDO_Client_Access(TComponent *AOwner);

protected:
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override;
};

extern TFSet_SDO_Client_Access *FSet_SDO_Client_Access;
