#pragma once

#include <QString>
#include <QVariantList>

class SharedPreferences;

// The contacts and calendar events of the agent's last reading, loaded at its start so that they
// are searchable before the readers answer. They live in data files of their own
// ("AddressBookItems.krvdata", "CalendarItems.krvdata"): in the preferences, which every program
// rereads whenever they change, thousands of records made every reading slow.
namespace OtherDataCache {

// The list in the data file `fileName`. A list still under the old preference key of the same
// name (without ".krvdata") is carried over once: written to the file when the file is missing,
// then the key is removed from the preferences.
QVariantList load(SharedPreferences &preferences, const QString &fileName);

} // namespace OtherDataCache
