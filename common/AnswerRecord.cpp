#include "AnswerRecord.h"

namespace AnswerRecord {
const QString KeyCopy = QStringLiteral("AnswerCopy");
const QString KeyOpenAddress = QStringLiteral("AnswerURL");
const QString KeySystemAction = QStringLiteral("AnswerSystemAction");
const QString KeyWindow = QStringLiteral("AnswerWindow");
const QString KeyIcon = QStringLiteral("AnswerIcon");
const QString KeyResultImage = QStringLiteral("AnswerResultImage");
const QString KeyResultIconNames = QStringLiteral("AnswerResultIconNames");
const QString KeyDesktopActions = QStringLiteral("AnswerDesktopActions");
const QString KeyDesktopSource = QStringLiteral("AnswerDesktopSource");
const QString KeyDesktopResult = QStringLiteral("AnswerDesktopResult");
const QString KeyNativeWindow = QStringLiteral("AnswerNativeWindow");
const QString KeyFamily = QStringLiteral("AnswerFamily");
} // namespace AnswerRecord
