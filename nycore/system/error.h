// Fatal reports of the flat function families. An error code is a constant
// zero-terminated wide text; codes are compared by pointer.
#pragma once

using ErrorCode = char16_t const*;

extern ErrorCode const ERROR_QUEUE_EMPTY;
extern ErrorCode const ERROR_GRFX_BADFILE;
extern ErrorCode const ERROR_GRFX_BADSTACK;
extern ErrorCode const ERROR_STRMAP_EXISTS;
extern ErrorCode const ERROR_STRMAP_NOFIND;
extern ErrorCode const ERROR_CLIPBOARD_WRITE;
extern ErrorCode const ERROR_CLIPBOARD_READ;
extern ErrorCode const ERROR_XML_BADTYPE;
extern ErrorCode const ERROR_XML_NOTFOUND;
extern ErrorCode const ERROR_XML_HIERARCHY;
extern ErrorCode const ERROR_XML_NOROOT;
extern ErrorCode const ERROR_XML_WRONGDOC;
extern ErrorCode const ERROR_XML_PARSEFAIL;
extern ErrorCode const ERROR_IO_EMPTYSTREAM;
extern ErrorCode const ERROR_IO_NOCLOSESTD;
extern ErrorCode const ERROR_IO_NOTEMP;
extern ErrorCode const ERROR_IO_BADNAME;
extern ErrorCode const ERROR_IO_BADDIR;
extern ErrorCode const ERROR_BADARRAY;
extern ErrorCode const ERROR_BADINDEX;
extern ErrorCode const ERROR_BADPARA;

// Writes "<code>\n" to standard output and ends the process with the fatal exit code.
[[noreturn]] void error_throw(ErrorCode code);
// Writes "<code>: <sourceFile>(<line>)\n" and ends the process likewise.
[[noreturn]] void error_throw_dbg(ErrorCode code, char const* sourceFile, int line);

// Reports a fault of a flat function with the calling source location.
#define ERROR_THROW(code, source) error_throw_dbg((code), (source), __LINE__)
