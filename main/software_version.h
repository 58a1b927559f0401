#pragma once

#include <QString>
#include <cstdint>

// A published version of the program: major.minor.patch and a stage byte whose two top bits
// give the release kind (0 final, 1 "RC", 2 "BETA", 3 "DEBUG") and whose six low bits give
// the number within that kind. All zeros (0.0 final) stands for no release.
struct SoftwareVersion
{
    enum Kind : std::uint8_t
    {
        Final = 0,
        ReleaseCandidate = 1,
        Beta = 2,
        Debug = 3
    };

    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    std::uint8_t patch = 0;
    std::uint8_t stage = 0;

    // "1.2", "1.2.3", "1.2 BETA1", "1.2.3 RC4" ...; any other text, or a stage number above 63,
    // gives 0.0 final. Parts above 255 keep their low eight bits.
    static SoftwareVersion fromString(const QString& text);
    // "1.2" when the patch is 0, else "1.2.3"; then " RC4", " BETA1" or " DEBUG2" unless final.
    QString toString() const;

    Kind kind() const { return Kind(stage >> 6); }
    unsigned int stageNumber() const { return stage & 63u; }
    bool isFinal() const { return kind() == Final; }

    bool operator==(const SoftwareVersion& other) const;
    bool operator!=(const SoftwareVersion& other) const { return !(*this == other); }
    // For equal major, minor and patch a debug build is older than a beta, a beta older than a
    // release candidate and that older than the final release.
    bool operator<(const SoftwareVersion& other) const;
};
