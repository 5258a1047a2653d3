// The hands that give the game its input, each under a source tag of its own: the person at this
// machine (its keyboard, mouse and gamepads, and a script or a replayed recording standing in for
// it), the computer's hand, and (to come) a player elsewhere. Before each pass the shell decides
// which hand acts on the game; the screens read the keys and take the messages without knowing whose
// they are.
#pragma once

#include <cstdint>

#include "platform/platform.h"

enum : InputSource { SOURCE_SCRIPT = 1, SOURCE_COMPUTER = 2, SOURCE_REMOTE = 3 };
enum Hand : int32_t { HAND_PERSON = 0, HAND_COMPUTER = 1, HAND_REMOTE = 2, HAND_COUNT = 3 };

// The sources a hand's input comes from, and the hand of a source.
uint32_t Hand_Sources(Hand hand);
Hand Hand_Of(InputSource source);
// The person's own: a message, or a key held (whoever acts on the game).
bool From_Person(const PlatformMessage& msg);
bool Person_Key_Held(int virtual_key);

// From this pass on `hand` acts on the game: the game's keys are read from its sources, except the
// person's own controls (Escape, F1, F12, M, Space), which are always the person's. At a change of
// hands the game's pointer goes where the new hand's pointer is (the person's where it last moved
// it; the computer's hand takes it where it is), with no button held: a button or key held across
// the change, and a message made before it, act only once released and pressed again.
void Hand_Acts(Hand hand);
Hand Acting_Hand();
// Each pass, before the frame: the computer's hand in its turn (unless the help or the question
// before leaving is up, when the person acts), else the person; and the computer's hand runs.
void Hands_Before_Pass();
// A message taken from the queue: each hand's pointer and buttons follow it; true when it acts on
// the game now (a message from the hand acting now, made since it began to act).
bool Message_Acts(PlatformMessage& msg);
// The person acts again, with every hand's pointer and buttons forgotten (a run that starts over).
void Reset_Hands();
