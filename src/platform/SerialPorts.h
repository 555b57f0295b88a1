#pragma once
// Serial ports named by COM number, as the system's code counts them, on the machine's devices.
//
// Fixed blocks keep a port's number stable whatever else is plugged in:
//   COM1  .. COM32  = <dev>/ttyS0   .. <dev>/ttyS31    (built-in ports)
//   COM33 .. COM64  = <dev>/ttyUSB0 .. <dev>/ttyUSB31  (USB serial adapters)
//   COM65 .. COM96  = <dev>/ttyACM0 .. <dev>/ttyACM31  (USB modem-class adapters)
// Numbers from 97 on name no device. <dev> is "/dev", or the folder that the environment
// variable FABRICOR_DEV_DIR names (read at each call).

#include "platform/System.h"

inline constexpr int ComPortsPerKind = 32;
inline constexpr const char *DeviceFolderVariable = "FABRICOR_DEV_DIR";

// The device folder in use, without a trailing separator.
UnicodeString SerialDeviceFolder();

// The device file of COM Number, or an empty text when no device maps to it.
UnicodeString ComPortDevice(int Number);

// True when the port's device can be opened for reading and writing, or exists but refuses us
// because it is busy or not ours to open (another program has it): such a port is there.
// A device node without hardware behind it (the open fails otherwise) is no port.
bool ComPortExists(int Number);
