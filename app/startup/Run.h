#pragma once
// The program's body between start-up and shut-down: choose the account, build the
// main frame and run the message loop. 1 after a normal close, -1 when no account or
// database could be opened, 0 when the frame could not be made.
int Run(const wchar_t* commandLine, int show);
