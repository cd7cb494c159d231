#pragma once

#include <QString>

// The person's own LibreOffice made to listen for penlark-writer at every start, through
// its per-user configuration: the setting org.openoffice.Setup/Office/ooSetupConnectionURL
// in the profile's user/registrymodifications.xcu, the file where the office keeps every
// setting a person changed. Nothing of the office's installation is touched.

// The profile LibreOffice uses when started the ordinary way: libreoffice/4 in the
// person's configuration folder (XDG_CONFIG_HOME, else ~/.config).
QString DefaultOfficeProfile();

// Sets (or, with undo, removes) the setting to accept, such as
// "pipe,name=penlark-writer;urp;", in the profile folder (the one that holds user/).
// True with *said telling what was done; false with *said telling why nothing was: the
// office running with that profile (it would write its own settings back over the file
// when it ends), the setting already holding another value, which is left alone, or a
// file that cannot be read, parsed or written.
bool SetUpOfficeListening(const QString& profile, const QString& accept, bool undo, QString* said);
