// Command scripts from the command line: a command document runs the script
// with this runner as its view, so values and the first failure reach the
// standard streams instead of message boxes.
#include "vexadrome/interface/script_runner.h"

#include <cerrno>
#include <unistd.h>

#include <string>

#include "nycore/io/file_stream.h"
#include "nycore/system/console.h"
#include "nycore/text/print.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/documents/math_doc_reader.h"

namespace Vexadrome::Interface {

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool startsWith(char16_t const* raw, int count, int p, std::u16string_view prefix)
{
    return count - p >= static_cast<int>(prefix.size()) &&
           std::u16string_view(raw + p, prefix.size()) == prefix;
}

int find(char16_t const* raw, int count, int p, std::u16string_view what)
{
    std::u16string_view text(raw, static_cast<std::size_t>(count));
    std::size_t at = text.find(what, static_cast<std::size_t>(p));
    return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
}

// Where the root element's content begins in a file's text: just after its
// start tag, past the declaration, comments and document type before it. -1
// when there is no such content.
int contentStart(char16_t const* raw, int count)
{
    int p = 0;
    while (p < count) {
        if (raw[p] != u'<') {
            ++p;
            continue;
        }
        std::u16string_view close = startsWith(raw, count, p, u"<?")     ? u"?>"
                                    : startsWith(raw, count, p, u"<!--") ? u"-->"
                                    : startsWith(raw, count, p, u"<!")   ? u">"
                                                                         : u"";
        if (!close.empty()) {
            int end = find(raw, count, p + 2, close);
            if (end < 0)
                return -1;
            p = end + static_cast<int>(close.size());
            continue;
        }
        char16_t quote = 0;
        for (++p; p < count; ++p) {
            if (quote != 0) {
                if (raw[p] == quote)
                    quote = 0;
            } else if (raw[p] == u'"' || raw[p] == u'\'') {
                quote = raw[p];
            } else if (raw[p] == u'>') {
                return raw[p - 1] == u'/' ? -1 : p + 1;
            }
        }
        return -1;
    }
    return -1;
}

// The file units that the parser turned into one character: an entity or a
// character reference through its ';', else the one unit.
int referenceLength(char16_t const* raw, int count, int p)
{
    if (raw[p] != u'&')
        return 1;
    for (std::u16string_view entity : {u"&lt;", u"&gt;", u"&amp;", u"&quot;", u"&apos;"}) {
        if (startsWith(raw, count, p, entity))
            return static_cast<int>(entity.size());
    }
    if (!startsWith(raw, count, p, u"&#"))
        return 1;
    int q = p + 2;
    bool hex = q < count && (raw[q] == u'x' || raw[q] == u'X');
    if (hex)
        ++q;
    int digits = q;
    while (q < count && ((raw[q] >= u'0' && raw[q] <= u'9') ||
                         (hex && ((raw[q] >= u'a' && raw[q] <= u'f') || (raw[q] >= u'A' && raw[q] <= u'F')))))
        ++q;
    return q > digits && q < count && raw[q] == u';' ? q + 1 - p : 1;
}

// The file offset of character `scriptOffset` of the script that a command
// script file holds, found by walking the file's text alongside the script;
// -1 when the two do not line up.
int fileOffsetOf(char16_t const* raw, int count, NyCore::String const* script, int scriptOffset)
{
    int p = contentStart(raw, count);
    if (p < 0)
        return -1;
    // The file was read with trimming: blanks before the script are not part of it.
    while (p < count && isBlank(raw[p]))
        ++p;
    for (int i = 0; i < scriptOffset; ++i) {
        if (p >= count || i >= script->count)
            return -1;
        int length = referenceLength(raw, count, p);
        if (length == 1 && raw[p] != script->units()[i])
            return -1;
        p += length;
    }
    return p;
}

// The whole text of a file as the document reader decodes it, or null.
NyCore::String* readFileText(NyCore::String const* path)
{
    NyCore::IO::StreamReader reader;
    if (!freader_open(&reader, path, 0, nullptr))
        return nullptr;
    NyCore::Collections::ArrayBase* content = reader_buffer(&reader);
    freader_close(&reader);
    NyCore::String* text = content ? NyCore::String::create(static_cast<char16_t const*>(content->data()), 0,
                                                            content->length / 2)
                                   : nullptr;
    array_delete(content);
    return text;
}

}

NyCore::String const* const ScriptRunner::InputName = u"<stdin>"_str;

ScriptRunner::ScriptRunner(Documents::DocumentHost* host, int outputFd, int errorFd)
    : host(host), outputFd(outputFd), errorFd(errorFd), text(string_copy(NyCore::Text::EmptyString))
{
}

ScriptRunner::~ScriptRunner()
{
    string_free(text);
    string_free(failureMessage);
}

int ScriptRunner::runFile(NyCore::String const* path)
{
    NyCore::String* reason = nullptr;
    NyUser::Models::Document* document = Documents::MathDocReader::load(path, host, &reason);
    if (document == nullptr) {
        reportProblem(path, reason);
        string_free(reason);
        return 1;
    }
    auto* commands = dynamic_cast<Documents::CommandDoc*>(document);
    if (commands == nullptr) {
        reportProblem(path, u"not a command script (its root element is not <command>)"_str);
        delete document;
        return 1;
    }
    bool succeeded = run(commands);
    delete commands;
    if (succeeded)
        return 0;
    NyCore::String* fileText = readFileText(path);
    int fileOffset = fileText ? fileOffsetOf(fileText->units(), fileText->count, text, failureStart) : -1;
    if (fileOffset >= 0)
        reportFailure(path, fileText, fileOffset);
    else
        reportFailure(path, text, failureStart);
    string_free(fileText);
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
        bytes.append(block, static_cast<std::size_t>(got));
    }
    NyCore::String* script = string_from_utf8(bytes.data(), static_cast<int>(bytes.size()));
    int status = runText(InputName, script);
    string_free(script);
    return status;
}

int ScriptRunner::runText(NyCore::String const* name, NyCore::String const* script)
{
    auto* document = new Documents::CommandDoc(host);
    document->set$commandString(script);
    bool succeeded = run(document);
    delete document;
    if (succeeded)
        return 0;
    reportFailure(name, text, failureStart);
    return 1;
}

bool ScriptRunner::run(Documents::CommandDoc* document)
{
    string_free(failureMessage);
    failureMessage = nullptr;
    failureStart = 0;
    document->set$view(this);
    // The run reads a copy: a view's text may change while it runs.
    NyCore::String* script = string_copy(text);
    bool succeeded = document->processCmndList(script);
    string_free(script);
    document->set$view(nullptr);
    return succeeded;
}

void ScriptRunner::set$text(NyCore::String const* newText)
{
    NyCore::String* copy = string_copy(newText ? newText : NyCore::Text::EmptyString);
    string_free(text);
    text = copy;
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
        string_free(failureMessage);
        failureMessage = string_copy(message);
    }
}

void ScriptRunner::reportFailure(NyCore::String const* name, NyCore::String const* source, int sourceOffset)
{
    int line = 1;
    int column = 1;
    for (int i = 0; i < sourceOffset && i < source->count; ++i) {
        char16_t c = source->units()[i];
        if (c == u'\n') {
            ++line;
            column = 1;
        } else if (c < 0xDC00 || c > 0xDFFF) {
            // The second half of a surrogate pair is not a character of its own.
            ++column;
        }
    }
    NyCore::String const* message = failureMessage ? failureMessage : u"command failed"_str;
    NyCore::String* diagnostic = string_print(u"%s:%d:%d: %s\n", name->units(), line, column, message->units());
    console_write(errorFd, diagnostic);
    string_free(diagnostic);
}

void ScriptRunner::reportProblem(NyCore::String const* name, NyCore::String const* problem)
{
    NyCore::String* diagnostic = string_print(u"vexadrome: %s: %s\n", name->units(), problem->units());
    console_write(errorFd, diagnostic);
    string_free(diagnostic);
}

}
