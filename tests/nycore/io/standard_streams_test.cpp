// The standard output, error and input streams, observed from child processes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "nycore/io/file_stream.h"
#include "nycore/io/standard_streams.h"
#include "nycore/system/console.h"
#include "nycore/system/error.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"

using namespace NyCore;
using namespace NyCore::IO;

namespace {

// Makes `bytes` the process's standard input and binds the streams afresh.
void feedStandardInput(std::string const& bytes)
{
    int ends[2];
    if (::pipe(ends) != 0 || ::write(ends[1], bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        ::_exit(3);
    ::close(ends[1]);
    ::dup2(ends[0], 0);
    ::close(ends[0]);
    stream_standard_bind();
}

}

TEST(StandardStreams, WritersAreBoundToTheStandardDescriptors)
{
    StreamWriter* output = writer_standard_output();
    StreamWriter* error = writer_standard_error();
    EXPECT_EQ(output->handle, 1);
    EXPECT_EQ(error->handle, 2);
    EXPECT_EQ(reader_standard_input()->handle, 0);
    EXPECT_TRUE(output->flags & StreamStandard);
    EXPECT_TRUE(reader_standard_input()->flags & StreamStandard);
}

TEST(StandardStreams, OutputIsUtf8AndNeverLostBeforeAFatalStop)
{
    std::u16string const wide = std::u16string(511, u'a') + u"\U0001F600\u00e9" + u'\xd800' + u"!";
    struct Case {
        char const* name;
        std::function<void()> body;
        std::string output;
    } const cases[] = {
        {"print", [] { print(u"n=%d %s\n", 5, u"\u20ac"); }, "n=5 \xe2\x82\xac\n"},
        {"a pair across the block boundary, a lone surrogate", [&] {
             String* text = TestSupport::makeString(wide);
             writer_put_string(writer_standard_output(), text);
             writer_flush(writer_standard_output());
         },
            std::string(511, 'a') + "\xf0\x9f\x98\x80\xc3\xa9\xef\xbf\xbd!"},
        {"buffered text before a fatal report", [] {
             writer_put_string(writer_standard_output(), u"partial "_str);
             error_throw(ERROR_BADINDEX);
         },
            "partial Error.InvalidIndex\n"},
        {"shutdown flushes", [] {
             writer_print(writer_standard_output(), u"bye");
             while (System::Runtime::shutdown() > 0) {
             }
         },
            "bye"},
        {"console_write keeps the order", [] {
             writer_put_string(writer_standard_output(), u"1"_str);
             console_write(1, u"2"_str);
         },
            "12"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = TestSupport::runInChild(c.body);
        EXPECT_EQ(result.output, c.output);
    }
}

TEST(StandardStreams, ClosingAStandardStreamIsFatal)
{
    std::function<void()> const bodies[] = {
        [] { fwriter_close(writer_standard_output()); },
        [] { fwriter_close(writer_standard_error()); },
        [] { freader_close(reader_standard_input()); },
    };
    for (auto const& body : bodies) {
        auto result = TestSupport::runInChild(body);
        EXPECT_EQ(result.exitCode, System::FatalExitCode);
        EXPECT_EQ(result.output.rfind("Error.IO.CannotCloseStandardStream: io/file_stream.cpp(", 0), 0u) << result.output;
    }
}

TEST(StandardStreams, InputIsDecodedAcrossReads)
{
    struct Case {
        std::string input;
        std::string output;
    } const cases[] = {
        {std::string(511, 'x') + "\xe2\x82\xac\n\xff" "end", std::string(511, 'x') + "\xe2\x82\xac|\xef\xbf\xbd" "end|1"},
        {"ab\xe2\x82", "ab\xef\xbf\xbd||1"},
        {"", "<null>||1"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.input.substr(0, 8));
        auto result = TestSupport::runInChild([&] {
            feedStandardInput(c.input);
            StreamReader* input = reader_standard_input();
            String* first = reader_get_str(input, u"\n"_str);
            reader_get_char(input);
            String* second = reader_get_str(input, u"\n"_str);
            std::string text = TestSupport::toUtf8(first) + "|" + (second ? TestSupport::toUtf8(second) : "");
            reader_get_char(input);
            std::printf("%s|%d", text.c_str(), reader_is_eof(input) ? 1 : 0);
        });
        EXPECT_EQ(result.output, c.output);
    }
}
