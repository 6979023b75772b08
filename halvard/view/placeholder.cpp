namespace halvard_view { int placeholder() { return 0; } }
