// The playing frame.
