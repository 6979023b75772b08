// Placeholder until the Qt shell is built.
namespace zm_qt { int placeholder() { return 0; } }
