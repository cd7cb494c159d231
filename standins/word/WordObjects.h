#pragma once

#include "WordModel.h"

#include <functional>

class LetterDocument;

// penlark-word's objects: the shared object models (WordModel.h) over the letter in its
// window. How they reach it: nullptr while none is open.
using DocumentAccess = std::function<LetterDocument*()>;

// The letter as the object models see it.
WordDocumentAccess LetterAccess(DocumentAccess letter);
