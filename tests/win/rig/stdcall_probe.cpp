// A probe library: one __stdcall export that takes two arguments, so a wrong
// calling convention on either side corrupts the stack and shows up at once.
extern "C" int __stdcall AddTwice(int a, int b) { return a + 2 * b; }
