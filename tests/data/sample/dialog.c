// The greeting at the town gate.
void GateGreeting()
{
    Say(DLG_TEXT[0]);
    if (Ask(DLG_TEXT[1]) == ANSWER_YES)
        Say(DLG_TEXT[2]);
    else
        Say(DLG_TEXT[3]);
    Log(DLG_TEXT[0]);
}
