#include "SearchTextFind.h"

namespace SearchTextFind {

Needle::Needle(std::string word)
    : mWord(std::move(word))
    , mHead(detail::wordHead(mWord.data(), mWord.size()))
    , mMiddle(detail::wordHead(mWord.data() + (mWord.size() > 1),
                               mWord.size() > 2 ? mWord.size() - 2 : 0))
{
}

} // namespace SearchTextFind
