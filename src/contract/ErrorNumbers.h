#pragma once

// The run-time error numbers the program and its partners raise or answer; a partner's
// refusal carries its number on the bus (AutomationContract::ErrorPrefix).
namespace ErrorNumber {
constexpr int InvalidCall = 5;
constexpr int FileNotFound = 53;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int ObjectNotSet = 91;
constexpr int DdeNoResponse = 282;             // no program answered the initiate
constexpr int DdeRefused = 285;                // the server will not do it
constexpr int DdeTimeout = 286;
constexpr int DdeWrongFormat = 290;
constexpr int DdeServerQuit = 291;
constexpr int DdeConversationClosed = 292;
constexpr int DdeNoChannel = 293;
constexpr int DdeBadLinkFormat = 294;
constexpr int ObjectRequired = 424;
constexpr int CannotCreateObject = 429;
constexpr int UnknownMember = 438;
constexpr int AutomationError = 440;
constexpr int WordWindowNoDocument = 4248;   // the word window's: no document is open
constexpr int WordNoDocument = 5003;           // WordBasic: a command with no document open
constexpr int WordNoSuchBookmark = 5101;       // Word 97: GoTo to a bookmark the document lacks
}  // namespace ErrorNumber
