#pragma once

#include <QFunctionPointer>
#include <QString>

// The suite's own modules: shared objects built with the programs and loaded when first needed,
// so that the libraries they link (poppler, Qt Network, libcrypto) are not mapped at every start.
// Looked for beside the program (the build tree), in ../lib/korvale (the installer's bundle, a
// /usr/local prefix), then in the library folder the build was configured for; once loaded, kept.
namespace SuiteModule {

// The module's entry point, or null when the module is not there or does not load.
QFunctionPointer entry(const QString &fileName, const char *symbol);

} // namespace SuiteModule
