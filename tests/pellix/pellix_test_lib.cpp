// A stand-in for the module maker's beep library: MyBeep counts its calls and runs a
// hook that a test registers, so the test can see what had happened on the line at
// the moment of the beep.

namespace {
void (*hook)() = nullptr;
int calls = 0;
}  // namespace

extern "C" {

void MyBeep() {
  ++calls;
  if (hook != nullptr) hook();
}

void pellixTestSetHook(void (*newHook)()) { hook = newHook; }

int pellixTestCalls() { return calls; }

}  // extern "C"
