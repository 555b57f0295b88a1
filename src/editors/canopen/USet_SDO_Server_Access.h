#pragma once
// The CANopen SDO server editor: the objects of the manufacturer range that a CANopen master reads
// from the converter's input array or writes into its output array, kept in
// "SDO_Server_CANopen.xml".

#include "editors/canopen/UCANopen_Access.h"

class TFSet_SDO_Server_Access : public TFCANopen_SDO_Access {
public:
    explicit TFSet_SDO_Server_Access(TComponent *AOwner);

protected:
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override;
};

extern TFSet_SDO_Server_Access *FSet_SDO_Server_Access;
