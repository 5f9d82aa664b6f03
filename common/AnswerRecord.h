#pragma once

#include "ItemRecord.h"

#include <QString>
#include <QVariantMap>

// An answer row is an item record of kind KindAnswer: "T" is what it says (the result), "t" the
// query as understood, and one of the keys below what Return does with it.
namespace AnswerRecord {

// The text Return copies.
inline const QString KeyCopy = QStringLiteral("AnswerCopy");
// The address Return opens in the default browser.
inline const QString KeyOpenAddress = QStringLiteral("AnswerURL");
// The session action Return asks for, once confirmed (SessionActions::idOf).
inline const QString KeySystemAction = QStringLiteral("AnswerSystemAction");
// The X window Return brings to the front.
inline const QString KeyWindow = QStringLiteral("AnswerWindow");
// The themed icon (or icon file) the row shows instead of the answers' own.
inline const QString KeyIcon = QStringLiteral("AnswerIcon");
// A result's own icon, which the desktop's provider or runner sent, drawn before KeyIcon: an
// image (QImage, already decoded and bounded) or theme names tried in order.
inline const QString KeyResultImage = QStringLiteral("AnswerResultImage");
inline const QString KeyResultIconNames = QStringLiteral("AnswerResultIconNames");
// A runner's actions for the row's menu: a list of [id, text, icon name].
inline const QString KeyDesktopActions = QStringLiteral("AnswerDesktopActions");
// A row of the desktop's search: the provider or runner that gave it (DesktopSearchSource's
// key), and the result's id there; Return hands it back to that source.
inline const QString KeyDesktopSource = QStringLiteral("AnswerDesktopSource");
inline const QString KeyDesktopResult = QStringLiteral("AnswerDesktopResult");
// The native Wayland window (WaylandToplevels' number) Return brings to the front.
inline const QString KeyNativeWindow = QStringLiteral("AnswerNativeWindow");
// The family that made it (its preference key), for the row's menu and the log.
inline const QString KeyFamily = QStringLiteral("AnswerFamily");

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
