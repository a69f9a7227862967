#pragma once

/// Records a failed check and prints \a what; the program's exit code counts failures.
void check(bool ok, const char* what);
int failures();

/// Checks that the library's Chinese texts come out in English once the
/// installed kelvane_en.qm is loaded: the message of a missing Lua file.
void checkEnglishTranslation();
/// Checks a call into the client library that needs no server.
void checkTavimor();
