#pragma once
// The end of a test program waits until no thread of it is still starting. Wine kills a
// program with a fault when its end stops a thread that is still starting, and WinINet starts
// one whenever a kept-alive connection goes back to an empty pool: a test whose last request
// ends just before the program does would then fail after passing.

// Returns once every other thread of the process has passed its start-up.
void WaitForStartingThreads();
