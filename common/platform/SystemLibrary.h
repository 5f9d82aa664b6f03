#pragma once

#include <QLibrary>
#include <QString>

// A library of the system opened when first needed rather than linked (GIO, libwayland-client,
// libXtst), so that the programs do not map it at every start. Never unloaded: what it hands
// out (types, listeners) lives until the process ends.
class SystemLibrary
{
public:
    SystemLibrary(const QString &name, int version)
        : mLibrary(name, version)
    {
        mLibrary.setLoadHints(QLibrary::PreventUnloadHint);
        if (!mLibrary.load())
            mWhy = mLibrary.errorString();
    }

    // Sets `function` to the library's `name`; false when it is missing, the first missing one
    // (or the failed load) being why().
    template <typename Function> bool resolve(Function &function, const char *name)
    {
        function = mWhy.isEmpty() ? reinterpret_cast<Function>(mLibrary.resolve(name)) : nullptr;
        if (!function && mWhy.isEmpty())
            mWhy = QStringLiteral("%1 lacks %2").arg(mLibrary.fileName(), QLatin1String(name));
        return function != nullptr;
    }

    bool ok() const { return mWhy.isEmpty(); }
    QString why() const { return mWhy; }

private:
    QLibrary mLibrary;
    QString mWhy;
};
