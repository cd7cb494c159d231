#include "WriterOffice.h"

#include "BenchWorld.h"

#ifdef PENLARK_WRITER_BIN
#include "HeadlessOffice.h"

namespace {
std::unique_ptr<HeadlessOffice> office;
// An office that would not start is not waited for again in every batch of runs.
QString startFailure;
}

bool WriterBuilt() { return true; }

bool FreshWriterLetter(BenchWorld& world, QString* error) {
  if (!office && startFailure.isEmpty()) {
    office = std::make_unique<HeadlessOffice>();
    if (!office->ok()) {
      startFailure = QStringLiteral("LibreOffice did not start: ") + office->error();
      office.reset();
    }
  }
  if (!office) {
    *error = startFailure;
    return false;
  }
  try {
    office->CloseAll();
    if (!office->Open(QStringLiteral(PENLARK_TEST_DATA "/letter.odt")).is()) {
      *error = QStringLiteral("LibreOffice did not open the letter");
      return false;
    }
  } catch (const css::uno::Exception& e) {
    *error = QStringLiteral("LibreOffice failed: ") + FromUno(e.Message);
    return false;
  }
  // penlark-writer afresh too, so nothing it kept of the closed letter is used.
  if (!world.StartWordProcessor(QStringLiteral(PENLARK_WRITER_BIN), {QStringLiteral("--connect"), office->Description()})) {
    *error = world.error();
    return false;
  }
  return true;
}

void EndWriterOffice() { office.reset(); }

#else

bool WriterBuilt() { return false; }
bool FreshWriterLetter(BenchWorld&, QString* error) {
  *error = QStringLiteral("penlark-writer was not built");
  return false;
}
void EndWriterOffice() {}

#endif
