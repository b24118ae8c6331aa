// The error codes of the flat function families and their fatal report.
#include "nycore/system/error.h"

#include <unistd.h>

#include "nycore/system/console.h"
#include "nycore/system/runtime.h"

ErrorCode const ERROR_QUEUE_EMPTY = u"Error.Queue.IsEmpty";
ErrorCode const ERROR_GRFX_BADFILE = u"Error.Graphics.InvalidFile";
ErrorCode const ERROR_GRFX_BADSTACK = u"Error.Graphics.StackIsEmpty";
ErrorCode const ERROR_STRMAP_EXISTS = u"Error.StringMap.AlreadyExists";
ErrorCode const ERROR_STRMAP_NOFIND = u"Error.StringMap.IndexNotFound";
ErrorCode const ERROR_CLIPBOARD_WRITE = u"Error.Clipboard.Write";
ErrorCode const ERROR_CLIPBOARD_READ = u"Error.Clipboard.Read";
ErrorCode const ERROR_XML_BADTYPE = u"Error.XML.WrongNodeType";
ErrorCode const ERROR_XML_NOTFOUND = u"Error.XML.NotFound";
ErrorCode const ERROR_XML_HIERARCHY = u"Error.XML.HierarchyRequest";
ErrorCode const ERROR_XML_NOROOT = u"Error.XML.DocumentHasNoRoot";
ErrorCode const ERROR_XML_WRONGDOC = u"Error.XML.WrongDocument";
ErrorCode const ERROR_XML_PARSEFAIL = u"Error.XML.ParseFailure";
ErrorCode const ERROR_IO_EMPTYSTREAM = u"Error.IO.EmptyStream";
ErrorCode const ERROR_IO_NOCLOSESTD = u"Error.IO.CannotCloseStandardStream";
ErrorCode const ERROR_IO_NOTEMP = u"Error.IO.FailedToCreateTemp";
ErrorCode const ERROR_IO_BADNAME = u"Error.IO.InvalidFileName";
ErrorCode const ERROR_IO_BADDIR = u"Error.IO.InvalidDirectory";
ErrorCode const ERROR_BADARRAY = u"Error.WrongArrayType";
ErrorCode const ERROR_BADINDEX = u"Error.InvalidIndex";
ErrorCode const ERROR_BADPARA = u"Error.InvalidParamiter";

void error_throw(ErrorCode code)
{
    print(u"%s\n", code);
    NyCore::System::Runtime::fatalStop();
}

void error_throw_dbg(ErrorCode code, char const* sourceFile, int line)
{
    print(u"%s: %a(%d)\n", code, sourceFile, line);
    NyCore::System::Runtime::fatalStop();
}
