// Filled in with the shell.
