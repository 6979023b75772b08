namespace corvane_view { int placeholder() { return 0; } }
