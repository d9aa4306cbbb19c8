#include "QtOptions.h"

#include <QLatin1String>

#include <span>

namespace {

enum class Value {
    None,
    Joined, // "-style=fusion": the name ends in "="
    Following, // the next argument; with none left, the option stays, as a page
    Taken, // the next argument, if any; the option goes even when it is the last
};

struct Option
{
    QLatin1String name;
    Value value;
};

constexpr Option kPlatform[] = {
    { QLatin1String("-platformpluginpath"), Value::Taken },
    { QLatin1String("-platform"), Value::Taken },
    { QLatin1String("-platformtheme"), Value::Taken },
    { QLatin1String("-qwindowgeometry"), Value::Taken },
    { QLatin1String("-qwindowtitle"), Value::Taken },
    { QLatin1String("-qwindowicon"), Value::Taken },
    // Qt takes these three only on X11.
    { QLatin1String("-geometry"), Value::Taken },
    { QLatin1String("-title"), Value::Taken },
    { QLatin1String("-icon"), Value::Taken },
};

// Qt 4's -sync, -ncols and -cmap are not among them: Qt 6 leaves them, as pages.
constexpr Option kX11[] = {
    { QLatin1String("-display"), Value::Following },
    { QLatin1String("-name"), Value::Following },
    { QLatin1String("-nograb"), Value::None },
    { QLatin1String("-dograb"), Value::None },
    { QLatin1String("-visual"), Value::Following },
};

constexpr Option kCore[] = {
    { QLatin1String("-qmljsdebugger="), Value::Joined },
    { QLatin1String("-qmljsdebugger"), Value::Following },
};

constexpr Option kGui[] = {
    { QLatin1String("-plugin"), Value::Taken },
    { QLatin1String("-reverse"), Value::None },
    { QLatin1String("-session"), Value::Following },
    { QLatin1String("-testability"), Value::None },
    { QLatin1String("-style="), Value::Joined },
    { QLatin1String("-style"), Value::Following },
};

constexpr Option kWidgets[] = {
    { QLatin1String("-qdevel"), Value::None },
    { QLatin1String("-qdebug"), Value::None },
    { QLatin1String("-stylesheet"), Value::Following },
    { QLatin1String("-stylesheet="), Value::Joined },
    { QLatin1String("-widgetcount"), Value::None },
};

// QApplication reads argv in these passes, in this order, each seeing only what the ones
// before it left; so "-style -platform xcb page.html" styles with "page.html".
constexpr std::span<const Option> kPasses[] = { kPlatform, kX11, kCore, kGui, kWidgets };

// Qt reads "--style" as "-style".
QStringView spelledWithOneDash(const QString &argument)
{
    return argument.startsWith(QLatin1String("--")) ? QStringView(argument).mid(1) : QStringView(argument);
}

const Option *optionFor(std::span<const Option> pass, QStringView word)
{
    for (const Option &option : pass) {
        if (option.value == Value::Joined ? word.startsWith(option.name) : word == option.name)
            return &option;
    }
    return nullptr;
}

QStringList leftByPass(const QStringList &arguments, std::span<const Option> pass)
{
    QStringList left;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const Option *option = optionFor(pass, spelledWithOneDash(arguments[i]));
        const bool valueFollows = i + 1 < arguments.size();
        if (!option || (option->value == Value::Following && !valueFollows)) {
            left.append(arguments[i]);
            continue;
        }
        if (option->value == Value::Following || option->value == Value::Taken)
            ++i;
    }
    return left;
}

QString formOf(const Option &option)
{
    if (option.value == Value::None)
        return option.name;
    return option.name + QLatin1String(option.value == Value::Joined ? "VALUE" : " VALUE");
}

} // namespace

QStringList QtOptions::removedFrom(const QStringList &arguments)
{
    QStringList left = arguments;
    for (const std::span<const Option> pass : kPasses)
        left = leftByPass(left, pass);
    return left;
}

QStringList QtOptions::forms()
{
    QStringList forms;
    for (const std::span<const Option> pass : kPasses) {
        for (const Option &option : pass)
            forms.append(formOf(option));
    }
    forms.sort();
    return forms;
}
