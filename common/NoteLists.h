#pragma once

#include <QVariantList>

// Rules shared by the notes and the protected notes wherever they are changed: the agent, the
// manager and korvale-notes.
namespace NoteLists {

// By "T", case-insensitively, a record without "T" first; stable, so equal titles keep their order.
void sortByTitle(QVariantList &notes);

// Three-way merge of a list two programs changed at once: what this program removed since it
// read `base` is removed from `theirs`, what it added is added; everything else of `theirs` stays.
// A note edited in both places is therefore kept twice, once per edit, and a note removed in one
// place and edited in the other is kept as edited: no edit is lost silently. Records compare as
// whole values (an edit makes a new record). The result is sorted.
QVariantList merge(const QVariantList &base, const QVariantList &mine, const QVariantList &theirs);

} // namespace NoteLists
