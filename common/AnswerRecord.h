#pragma once

#include "ItemRecord.h"

#include <QString>
#include <QVariantMap>

// An answer row is an item record of kind KindAnswer: "T" is what it says (the result), "t" the
// query as understood, and one of the keys below what Return does with it.
namespace AnswerRecord {

// The text Return copies.
extern const QString KeyCopy;
// The address Return opens in the default browser.
extern const QString KeyOpenAddress;
// The session action Return asks for, once confirmed (SessionActions::idOf).
extern const QString KeySystemAction;
// The X window Return brings to the front.
extern const QString KeyWindow;
// The themed icon (or icon file) the row shows instead of the answers' own.
extern const QString KeyIcon;
// A result's own icon, which the desktop's provider or runner sent, drawn before KeyIcon: an
// image (QImage, already decoded and bounded) or theme names tried in order.
extern const QString KeyResultImage;
extern const QString KeyResultIconNames;
// A runner's actions for the row's menu: a list of [id, text, icon name].
extern const QString KeyDesktopActions;
// A row of the desktop's search: the provider or runner that gave it (DesktopSearchSource's
// key), and the result's id there; Return hands it back to that source.
extern const QString KeyDesktopSource;
extern const QString KeyDesktopResult;
// The native Wayland window (WaylandToplevels' number) Return brings to the front.
extern const QString KeyNativeWindow;
// The family that made it (its preference key), for the row's menu and the log.
extern const QString KeyFamily;

inline QVariantMap make(const QString &family, const QString &title, const QString &understood)
{
    return {
        {ItemRecord::KeyKind, int(ItemRecord::KindAnswer)},
        {ItemRecord::KeyTitle, title},
        {ItemRecord::KeyText, understood},
        {KeyFamily, family},
    };
}

} // namespace AnswerRecord
