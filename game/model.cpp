// Model records and globals.
