#include "OtherDataCache.h"

#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"

#include <QFileInfo>

QVariantList OtherDataCache::load(SharedPreferences &preferences, const QString &fileName)
{
    const QString key = QFileInfo(fileName).completeBaseName();
    const QString path = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(fileName);
    if (preferences.contains(key)) {
        const std::optional<QVariantList> old = preferences.listValue(key);
        if (!QFileInfo::exists(path) && old && !old->isEmpty())
            CommonKorvaleClass::saveListInFile(*old, fileName);
        preferences.removeValue(key);
        preferences.synchronize();
    }
    return CommonKorvaleClass::readListInFile(fileName);
}
