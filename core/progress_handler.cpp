#include "core/progress_handler.h"

#include <cstdint>

ProgressHandler::~ProgressHandler()
{
    if (progressCallback && !ranges.empty())
        progressCallback(Total, Total, user);
}

unsigned ProgressHandler::value() const
{
    // 64-bit products, so that positions counting bytes of large files fold without overflow.
    std::uint64_t scale = Total;
    std::uint64_t value = 0;
    for (const Range& range : ranges) {
        value += scale * range.position / range.size;
        scale /= range.size;
    }
    return unsigned(value);
}

// The extremes are not reported while an inner range is open: 0 and 10000 there only say that
// a nested step begins or ends, not where the whole operation stands.
void ProgressHandler::report() const
{
    const unsigned v = value();
    if (ranges.size() >= 2 && (v == 0 || v == Total))
        return;
    progressCallback(v, Total, user);
}

void ProgressHandler::sendTexts() const
{
    if (textCallback)
        textCallback(&title, &message, user);
}

void ProgressHandler::beginRange(unsigned size)
{
    if (!progressCallback)
        return;
    // Every level divides by its size; an empty range is one indivisible step.
    ranges.push_back({0, size == 0 ? 1u : size});
    report();
    sendTexts();
}

void ProgressHandler::setPosition(unsigned position)
{
    if (!progressCallback || position == 0 || ranges.empty() || position >= ranges.back().size)
        return;
    ranges.back().position = position;
    report();
}

void ProgressHandler::endRange()
{
    if (!progressCallback || ranges.empty())
        return;
    ranges.back().position = ranges.back().size;
    report();
    ranges.pop_back();
}

void ProgressHandler::setTitle(const QString& text)
{
    title = text;
    sendTexts();
}

void ProgressHandler::setMessage(const QString& text)
{
    message = text;
    sendTexts();
}
