#pragma once

#include <QString>
#include <list>

// Progress of a long operation divided into nested ranges. The positions of all open ranges
// are folded into one value out of 10000, which goes to the owner's progress callback; the
// title and message go to its text callback. The owner sets the fields directly.
class ProgressHandler
{
public:
    using ProgressCallback = void (*)(unsigned done, unsigned total, void* user);
    using TextCallback = void (*)(const QString* title, const QString* message, void* user);

    struct Range
    {
        unsigned position;
        unsigned size;
    };

    // The total that every progress report carries.
    static constexpr unsigned Total = 10000;

    ProgressHandler() = default;
    ProgressHandler(const ProgressHandler&) = delete;
    ProgressHandler& operator=(const ProgressHandler&) = delete;
    // Reports completion when ranges are still open.
    ~ProgressHandler();

    // Opens a new innermost range at position 0. A size of 0 counts as 1.
    void beginRange(unsigned size);
    // Moves the innermost range; 0 and positions not below the range's size are ignored.
    void setPosition(unsigned position);
    // Completes the innermost range and closes it.
    void endRange();
    void setTitle(const QString& text);
    void setMessage(const QString& text);

    ProgressCallback progressCallback = nullptr;
    TextCallback textCallback = nullptr;
    void* user = nullptr;
    std::list<Range> ranges; // outermost first
    QString title;
    QString message;

private:
    // The folded value of the open ranges, from 0 to Total.
    unsigned value() const;
    void report() const;
    void sendTexts() const;
};
