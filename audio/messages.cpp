#include "audio/messages.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace audio {

namespace {
MessageSink& sink()
{
    static MessageSink s;
    return s;
}
ExitHook& exitHook()
{
    static ExitHook h;
    return h;
}
} // namespace

void setMessageSink(MessageSink s) { sink() = std::move(s); }

void showMessage(const QString& text)
{
    if (sink())
        sink()(text);
    else
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void setExitHook(ExitHook hook) { exitHook() = std::move(hook); }

void endProgram(int code)
{
    if (exitHook())
        exitHook()(code);
    else if (QCoreApplication::instance())
        QCoreApplication::exit(code);
    else
        std::exit(code);
}

} // namespace audio
