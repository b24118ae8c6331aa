// Start-up and shut-down of the runtime, the program's start code and the
// report of a raised exception.
#include "nycore/system/runtime.h"

#include <unistd.h>

#include "nycore/io/standard_streams.h"
#include "nycore/system/boxed_values.h"
#include "nycore/system/console.h"
#include "nycore/system/fault_handler.h"
#include "nycore/system/widget.h"
#include "nycore/system/x_connection.h"
#include "nycore/text/print.h"

namespace NyCore::System {

namespace {

int initialisationCount = 0;
void (*fatalStopAction)() = nullptr;

void registerCoreTypes()
{
    // The registry outlives a shut-down, so a later start-up must not list the records twice.
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    Type::registerType(&Object::MetaData);
    Type::registerType(&StringMetaData);
    Type::registerType(&Double::MetaData);
    Type::registerType(&Integer32::MetaData);
    Type::registerType(&DateTime::MetaData);
    Type::registerType(&TimeSpan::MetaData);
    Type::registerType(&Widget::MetaData);
}

}

int Runtime::initilize()
{
    if (initialisationCount <= 0) {
        initialisationCount = 0;
        stream_standard_bind();
        registerCoreTypes();
        installFaultHandlers();
        Widget::startup();
    }
    return ++initialisationCount;
}

int Runtime::shutdown()
{
    --initialisationCount;
    if (initialisationCount <= 0) {
        initialisationCount = 0;
        Widget::shutdown();
        XConnection::close();
        stream_standard_flush();
    }
    return initialisationCount;
}

int Runtime::get$count()
{
    return initialisationCount;
}

String* renderExceptionReport(Exception* e, char const* sourceFile, int line)
{
    Type* type = e ? e->getType() : nullptr;
    char16_t const* typeName = type && type->name ? type->name->units() : nullptr;
    char16_t const* message = e && e->get$message() ? e->get$message()->units() : nullptr;
    if (sourceFile)
        return string_print(u"unhandeled exception %s\n%s\n%a(%d)\n", typeName, message, sourceFile, line);
    return string_print(u"unhandeled exception: %s\n%s\n", typeName, message);
}

void Runtime::throwException(Exception* e)
{
    String* report = renderExceptionReport(e, nullptr, 0);
    console_write(1, report);
    fatalStop();
}

void Runtime::throwException(Exception* e, char const* sourceFile, int line)
{
    String* report = renderExceptionReport(e, sourceFile, line);
    console_write(1, report);
    fatalStop();
}

void Runtime::fatalStop()
{
    if (fatalStopAction)
        fatalStopAction();
    ::_exit(FatalExitCode);
}

void Runtime::set$fatalStopAction(void (*action)())
{
    fatalStopAction = action;
}

void raiseException(Exception* e)
{
    Runtime::throwException(e);
}

int runProgram(int (*rdmain)(Collections::Array<String*>* arguments))
{
    Runtime::initilize();
    Collections::Array<String*>* arguments = Runtime::getArguments();
    int result = rdmain(arguments);
    arguments->freeWithItems();
    Runtime::shutdown();
    return result;
}

}
