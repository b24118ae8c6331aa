// StreamTextWriter: the CharWriter face of a StreamWriter.
#include "nycore/io/stream_text_writer.h"

namespace NyCore::IO {

void StreamTextWriter::append(char16_t unit)
{
    writer_put_char(writer, unit);
}

void StreamTextWriter::append(String const* text)
{
    writer_put_string(writer, text);
}

}
