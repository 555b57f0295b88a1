#pragma once
// Which serial ports exist: the system's port numbers (COM1, COM2, ...) on this machine.

// The highest port number that is tried.
constexpr int Max_Com_Port = 256;

// True when serial port n exists, also when another program holds it open.
bool Com_Port_Exists(int n);
