// Texts of dialog.c, in the order of their numbers.
string DLG_TEXT[4] = {
    "Welcome to Vaskarel, traveller.",
    "Do you come in peace?",
    "Then the gate is open to you.",
    "Then turn back, and quickly."
};
