#pragma once

#include "WordModel.h"

#include <functional>

class LetterDocument;

// penlark-word's objects: the shared object models (WordModel.h) over the letter in its
// window. How they reach it: nullptr while none is open.
using DocumentAccess = std::function<LetterDocument*()>;

// The letter as the object models see it.
WordDocumentAccess LetterAccess(DocumentAccess letter);

class WordApplication : public Word8Application {
 public:
  WordApplication(DocumentAccess document, QObject* parent)
      : Word8Application(LetterAccess(std::move(document)), parent) {}
};

class WordSelection : public Word8Selection {
 public:
  WordSelection(DocumentAccess document, QObject* parent)
      : Word8Selection(LetterAccess(std::move(document)), parent) {}
};

class WordBasic : public WordBasicObject {
 public:
  WordBasic(DocumentAccess document, bool german, QObject* parent)
      : WordBasicObject(LetterAccess(std::move(document)), german, parent) {}
};
