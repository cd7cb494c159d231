#pragma once

#include "WordModel.h"

class OfficeSession;

// penlark-writer's document behind the shared Word 97 object model (WordModel.h): the
// current burst's editing of Writer's current text document (OfficeSession::Edit), so a
// document the person opens or closes in between counts at once. The name is the
// document's title ("letter.odt"); the selection is kept by LetterEditing; character 13
// (CR LF and LF too) becomes a paragraph break in the style of the paragraph it splits, 9
// a tab; a go-to to a bookmark the burst has been to begins a new burst. A call that fails
// inside the office (which has gone, or refuses), or comes while no office is connected,
// answers 440.
WordDocumentAccess WriterAccess(OfficeSession& office);
