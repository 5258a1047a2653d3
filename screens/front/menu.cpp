// The main menu.
