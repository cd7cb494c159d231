#include "scripted/ScriptedDesktopServices.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

#include <stdexcept>

int ScriptedDesktopServices::MsgBox(const QString& text, int style, const QString& title) {
  int answer = MsgAnswer::Ok;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  } else if ((style & 7) != MsgStyle::OkOnly) {
    boxes.push_back({title, text, style, 0, pointer_});
    throw std::logic_error(("unscripted question: " + title + ": " + text).toStdString());
  }
  boxes.push_back({title, text, style, answer, pointer_});
  return answer;
}

void ScriptedDesktopServices::SetMousePointer(int pointer) {
  pointer_ = pointer;
  pointerChanges.push_back(pointer);
}

std::optional<QString> ScriptedDesktopServices::ShowOpenDialog(const FileOpenSettings& settings) {
  openDialogs.push_back(settings);
  if (files_.empty() || !files_.front()) {
    if (!files_.empty()) files_.pop_front();
    return std::nullopt;
  }
  QString file = *files_.front();
  files_.pop_front();
  return file;
}

void ScriptedDesktopServices::Terminate() {
  ended = true;
  throw ProgramEnded();
}

void ScriptedDesktopServices::RunModal(QDialog& form) {
  // As on a desktop, the window that was active gets the activation back afterwards.
  QPointer<QWidget> wasActive = QApplication::activeWindow();
  formsShown.push_back(form.objectName());
  form.setModal(true);
  form.show();
  QApplication::processEvents();
  auto it = scripts_.find(form.objectName());
  if (it != scripts_.end() && !it->second.empty()) {
    auto script = std::move(it->second.front());
    it->second.pop_front();
    script(form);
  }
  if (form.isVisible()) form.reject();
  if (wasActive) {
    wasActive->activateWindow();
    QApplication::processEvents();
  }
}
