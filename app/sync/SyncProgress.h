#pragma once
// The overall bar of a sync, 0 to 100: the sign-in and the book list take the
// first 4, each book an equal share of the other 96, split 1 / 4 / 75 / 5 / 15
// among its five steps.
int TessarySyncOverallProgress(int step, int bookIndex, int bookCount, int position, int total);
