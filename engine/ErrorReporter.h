#pragma once
#include "engine/ErrorStringId.h"

// Shows fatal errors as message boxes from the string table and sends the game to its quit
// state, so that every error ends in the ordinary shut-down.
class ErrorReporter {
public:
    explicit ErrorReporter(int mode);
    virtual ~ErrorReporter() = default;

    // "<text> : err_code=<code>", or the text alone when code is 0.
    void Report(ErrorStringId id, int code);
    // "<text> : <detail>", the detail cut to its first 31 characters.
    void ReportText(ErrorStringId id, const char* detail);

private:
    void Show(const char* message);

    int mode;  // 0 or below: nothing is reported; bit 0: show a message box
};

extern ErrorReporter* g_errorReporter;
