#pragma once

#include "AddressBook.h"

#include <QString>
#include <QStringList>

#include <optional>

// A folder of vCard files served as one address book, as sync tools and command-line
// address books keep them: every file in it (not below it) whose name ends in ".vcf", in
// any case, read as VcardReader.h reads one file, in name order. The first section is named
// after the folder and holds every card; then one section for each category, in the order
// the names first appear across the files (spelt like an earlier section, ignoring case,
// it is that section). The folder's own identity (device and inode) is the topic, so any
// path that reaches the folder names it.
//
// Fails only when the folder cannot be listed. A file that cannot be read is a warning
// and the others are served; so is a folder without vCard files (an empty book).
std::optional<DataFile> LoadVcardFolder(const QString& path, QString* error, QStringList* warnings);
