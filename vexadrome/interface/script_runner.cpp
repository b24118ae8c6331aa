// Command scripts from the command line: a command document runs the script
// with this runner as its view, so values and the first failure reach the
// standard streams instead of message boxes. Files are read and parsed here
// once, so that a failure's place in the script can be found in the file.
#include "vexadrome/interface/script_runner.h"

#include <cerrno>
#include <unistd.h>

#include <memory>
#include <string>

#include "nycore/collection/array.h"
#include "nycore/io/file_stream.h"
#include "nycore/system/console.h"
#include "nycore/text/print.h"
#include "nycore/xml/xml_parser.h"
#include "nycore/xml/xml_position.h"
#include "vexadrome/documents/command_reader.h"
#include "vexadrome/documents/math_doc_reader.h"

namespace Vexadrome::Interface {

namespace {

using OwnedArray = NyCore::Owned<NyCore::Collections::ArrayBase, array_delete>;
// The parsed tree of a document record that lives on the caller's stack.
using ParsedTree = NyCore::Owned<NyCore::XML::Document, xml_node_dtor>;

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

}

NyCore::String const* const ScriptRunner::InputName = u"<stdin>"_str;

ScriptRunner::ScriptRunner(Documents::DocumentHost* host, int outputFd, int errorFd)
    : host(host), outputFd(outputFd), errorFd(errorFd), text(string_copy(NyCore::Text::EmptyString))
{
}

int ScriptRunner::runFile(NyCore::String const* path)
{
    NyCore::IO::StreamReader reader;
    NyCore::String* openFailure = nullptr;
    if (!freader_open(&reader, path, NyCore::IO::ReaderDocument, &openFailure)) {
        OwnedString reason(openFailure ? openFailure : string_from_cstr(u"the file cannot be opened"));
        reportProblem(path, reason.get());
        return 1;
    }
    OwnedArray content(reader_buffer(&reader));
    bool readFailed = reader_has_failed(&reader);
    freader_close(&reader);
    if (readFailed) {
        reportProblem(path, u"the file could not be read to its end"_str);
        return 1;
    }
    if (content == nullptr || content->length == 0) {
        reportProblem(path, u"the file is empty"_str);
        return 1;
    }
    auto const* units = static_cast<char16_t const*>(content->data());
    int const count = content->length / 2;

    NyCore::XML::Document xml;
    NyCore::XML::ParseError parseError;
    if (!xml_parse_buffer_checked(&xml, units, count, false, &parseError)) {
        OwnedString reason(string_print(u"not well-formed XML at line %d, column %d: %s", parseError.line,
                                        parseError.column, parseError.message));
        reportProblem(path, reason.get());
        return 1;
    }
    ParsedTree tree(&xml);
    NyCore::String* readFailure = nullptr;
    std::unique_ptr<NyUser::Models::Document> document(Documents::MathDocReader::read(&xml, host, &readFailure));
    OwnedString reason(readFailure);
    auto* commands = dynamic_cast<Documents::CommandDoc*>(document.get());
    if (commands == nullptr) {
        reportProblem(path, document ? u"not a command script (its root element is not <command>)"_str : reason.get());
        return 1;
    }
    if (run(commands))
        return 0;
    int offset = Documents::CommandReader::sourceOffsetOf(xml_doc_element(&xml), units, count, failureStart);
    if (offset >= 0)
        reportFailure(path, units, count, offset);
    else
        reportFailure(path, text->units(), text->count, failureStart);
    return 1;
}

int ScriptRunner::runInput(int inputFd)
{
    std::string bytes;
    char block[65536];
    for (;;) {
        ssize_t got = ::read(inputFd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        if (static_cast<long long>(bytes.size()) + got > NyCore::IO::DocumentSizeLimit) {
            reportProblem(InputName, u"the script is larger than 64 MB"_str);
            return 1;
        }
        bytes.append(block, static_cast<std::size_t>(got));
    }
    OwnedString script(string_from_utf8(bytes.data(), static_cast<int>(bytes.size())));
    auto document = std::make_unique<Documents::CommandDoc>(host);
    document->set$commandString(script.get());
    if (run(document.get()))
        return 0;
    reportFailure(InputName, text->units(), text->count, failureStart);
    return 1;
}

bool ScriptRunner::run(Documents::CommandDoc* document)
{
    failureMessage.reset();
    failureStart = 0;
    document->set$view(this);
    // The run reads a copy: a view's text may change while it runs.
    OwnedString script(string_copy(text.get()));
    bool succeeded = document->processCmndList(script.get());
    document->set$view(nullptr);
    return succeeded;
}

void ScriptRunner::set$text(NyCore::String const* newText)
{
    text.reset(string_copy(newText ? newText : NyCore::Text::EmptyString));
}

void ScriptRunner::setSelection(int start, int length)
{
    // A command selected as a whole starts with its leading blanks; point at its first character.
    int end = start + length < text->count ? start + length : text->count;
    int p = start;
    while (p < end && isBlank(text->units()[p]))
        ++p;
    failureStart = p;
}

void ScriptRunner::showMessage(NyCore::String const*, NyCore::String const* message, MessageKind kind)
{
    if (kind == MessageKind::Value) {
        console_write(outputFd, message);
        console_write(outputFd, u"\n"_str);
    } else if (kind == MessageKind::Failure) {
        failureMessage.reset(string_copy(message));
    }
}

void ScriptRunner::reportFailure(NyCore::String const* name, char16_t const* units, int count, int offset)
{
    NyCore::XML::TextPosition at = xml_locate(units, count, offset);
    NyCore::String const* message = failureMessage ? failureMessage.get() : u"command failed"_str;
    OwnedString diagnostic(string_print(u"%s:%d:%d: %s\n", name->units(), at.line, at.column, message->units()));
    console_write(errorFd, diagnostic.get());
}

void ScriptRunner::reportProblem(NyCore::String const* name, NyCore::String const* problem)
{
    OwnedString diagnostic(string_print(u"vexadrome: %s: %s\n", name->units(), problem->units()));
    console_write(errorFd, diagnostic.get());
}

}
