#include "OrganizerWindow.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstring>

namespace {

const QString kTitle = QStringLiteral("Penlark Address Book");

bool Windowed() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

std::unique_ptr<QCoreApplication> MakeOrganizerApplication(int& argc, char** argv) {
  bool window = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--window") == 0) window = true;
    else argv[kept++] = argv[i];
  }
  argc = kept;
  argv[argc] = nullptr;
  if (window) return std::make_unique<QApplication>(argc, argv);
  return std::make_unique<QCoreApplication>(argc, argv);
}

std::unique_ptr<QWidget> MakeOrganizerWindow(const std::vector<DataFile>& files, const QString& busName) {
  if (!Windowed()) return nullptr;
  auto window = std::make_unique<QMainWindow>();
  window->setWindowTitle(files.empty() ? kTitle
                                       : QFileInfo(files.front().path).fileName() + QStringLiteral(" - ") + kTitle);

  auto* central = new QWidget(window.get());
  auto* layout = new QVBoxLayout(central);
  auto* said = new QLabel(QStringLiteral("Penlark can search these contacts while this window is open "
                                         "(on the session bus as %1). Quit stops serving them.")
                              .arg(busName),
                          central);
  said->setWordWrap(true);
  layout->addWidget(said);

  auto* served = new QTreeWidget(central);
  served->setColumnCount(2);
  served->setHeaderLabels({QStringLiteral("File and section"), QStringLiteral("Records")});
  served->setRootIsDecorated(true);
  for (const DataFile& file : files) {
    // No total for the file: a vCard is a record of its file's section and of each category.
    auto* fileItem = new QTreeWidgetItem(served, {QFileInfo(file.path).absoluteFilePath()});
    for (const Section& section : file.sections)
      new QTreeWidgetItem(fileItem, {section.name, QString::number(section.records.size())});
    fileItem->setExpanded(true);
  }
  served->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  served->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  served->header()->setStretchLastSection(false);
  layout->addWidget(served);

  auto* buttons = new QDialogButtonBox(central);
  QPushButton* quit = buttons->addButton(QStringLiteral("&Quit"), QDialogButtonBox::RejectRole);
  QObject::connect(quit, &QPushButton::clicked, qApp, &QCoreApplication::quit);
  layout->addWidget(buttons);
  window->setCentralWidget(central);

  QMenu* menu = window->menuBar()->addMenu(QStringLiteral("&File"));
  menu->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, qApp, &QCoreApplication::quit);
  window->resize(560, 320);
  return window;
}

void ShowOrganizerFailure(const QString& message) {
  if (!Windowed()) return;
  QMessageBox::critical(nullptr, kTitle, QStringLiteral("The address book cannot start.\n\n%1").arg(message));
}
