// Placeholder until the simulator is built.
namespace zmsim { int placeholder() { return 0; } }
