// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reply composition: ReplyComposer::compose with the user's name, the reply templates and
// the known words taken from the input, words holding tokens (£WORD2£ and the like)
// included.
//
// Input: two bytes of seed, one byte choosing the locale of the numbers, then UTF-8 text in
// sections parted by U+001E: the name, the templates (parted by LF; none when the section
// is empty) and the known words (parted by LF).

#include "FuzzSupport.h"
#include "lists/ItemListModel.h"
#include "conversation/RandomGenerator.h"
#include "conversation/ReplyComposer.h"

#include <array>

using namespace jabbly;
using namespace jabbly::fuzz;

namespace {

// A known word that holds tokens makes a reply grow with every pass that fills them in:
// three tokens in a word give 3^17 copies. Until compose bounds that, words are kept to 7
// UTF-16 units, so a word holds one whole token at most (£WORD2£) and no value is longer
// than the shortest token it replaces: after the names are put in, a reply can only
// shrink. Raise MaxWordLength (and drop the length check below) once compose is bounded.
constexpr qsizetype MaxWordLength = 7;
constexpr qsizetype MaxWords = 16;
constexpr qsizetype MaxNameLength = 32;
constexpr qsizetype MaxTemplateLength = 64;
constexpr qsizetype MaxTemplates = 8;

// The real generator, counting its draws.
class CountingRandom : public RandomGenerator {
public:
    explicit CountingRandom(uint32_t seed) : RandomGenerator(seed) {}
    int draws = 0;

protected:
    float Rnd() override
    {
        ++draws;
        return RandomGenerator::Rnd();
    }
};

// Locales whose group separators differ: ",", ".", a narrow no-break space, "’".
QLocale numberLocale(uint8_t choice)
{
    static const std::array<QLocale, 4> locales = {
        QLocale::c(),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::German, QLocale::Switzerland),
    };
    return locales[choice % locales.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    InputReader input(data, size);
    const uint32_t seed = input.byte() | (uint32_t{input.byte()} << 8);
    const QLocale locale = numberLocale(input.byte());
    const QStringList sections = QString::fromUtf8(input.rest()).split(QChar(0x1E));

    const QString name = sections[0].left(MaxNameLength);
    ItemListModel HidWord(true), HidCPU(false);
    if (sections.size() > 1 && !sections[1].isEmpty())
        HidCPU.AddItems(splitBounded(sections[1], u'\n', MaxTemplates, MaxTemplateLength));
    if (sections.size() > 2)
        HidWord.AddItems(splitBounded(sections[2], u'\n', MaxWords, MaxWordLength));

    CountingRandom random(seed);
    ReplyComposer composer(HidWord, HidCPU, random, locale);
    const std::optional<QString> reply = composer.compose(name);
    const QString context =
        QStringLiteral("name %1, templates %2, words %3").arg(show(name), show(HidCPU.items()), show(HidWord.items()));

    if (HidCPU.ListCount() == 0) {
        FUZZ_CHECK(!reply && random.draws == 0, QStringLiteral("a reply from no templates: ") + context);
        return 0;
    }
    FUZZ_CHECK(reply.has_value(), QStringLiteral("no reply: ") + context);
    FUZZ_CHECK(random.draws == 58, QStringLiteral("%1 draws: ").arg(random.draws) + context);
    FUZZ_CHECK(HidCPU.ListIndex() >= 0 && HidCPU.ListIndex() < HidCPU.ListCount(),
               QStringLiteral("template %1 selected: ").arg(HidCPU.ListIndex()) + context);

    // The name goes in first and once; without a pound sign left nothing else changes, and
    // with one no filled-in value is longer than the token it replaces.
    QString named = HidCPU.Text();
    named.replace(QStringLiteral("£NAME£"), name);
    if (!named.contains(u'£'))
        FUZZ_CHECK(*reply == named, QStringLiteral("%1 replied as %2: ").arg(show(named), show(*reply)) + context);
    FUZZ_CHECK(reply->size() <= named.size(),
               QStringLiteral("%1 grew to %2: ").arg(show(named), show(*reply)) + context);

    // The same seed gives the same reply.
    CountingRandom again(seed);
    ReplyComposer second(HidWord, HidCPU, again, locale);
    FUZZ_CHECK(second.compose(name) == reply, QStringLiteral("a second reply with the same seed differs: ") + context);
    return 0;
}
