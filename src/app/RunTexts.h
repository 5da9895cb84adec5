#pragma once

// The run's words live in src/words, shared with korvel-collect. This name stays only while
// WindowCollection.cpp, in the middle of its rework, still includes it; include words/RunTexts.h.
#include "words/RunTexts.h"
