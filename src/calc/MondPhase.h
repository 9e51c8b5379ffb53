#pragma once

#include "platform/Env.h"

#include <QString>

// German name of the moon phase on a day, from a fixed mean synodic month:
// "Neumond", "1/4 Mond, zu.", "Halbmond, zu.", "3/4 Mond, zu.", "Vollmond",
// "3/4 Mond, ab.", "Halbmond, ab.", "1/4 Mond ab.". dayNumber counts days
// since 30.12.1899 (day 0); negative days work the same way. A failure is
// logged under "Funktion MondPhase" and gives an empty text.
QString MondPhase(const Env& env, double dayNumber);
