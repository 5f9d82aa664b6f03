#include "SearchText.h"

#include "SearchTextFolding.h"

#include <cstring>
#include <string>

SearchText::SearchText(QStringView text)
{
    // Folding goes through a scratch buffer so the kept bytes take exactly their size.
    thread_local std::string scratch;
    scratch.clear();
    SearchTextFolding::foldInto(text, scratch);
    if (scratch.empty())
        return;
    mBytes = QByteArray(qsizetype(scratch.size() + kPadding), Qt::Uninitialized);
    std::memcpy(mBytes.data(), scratch.data(), scratch.size());
    std::memset(mBytes.data() + scratch.size(), 0, kPadding);
    if (scratch.capacity() > (1u << 20))
        std::string().swap(scratch); // one long note should not pin its size on the thread
}
