// SPDX-License-Identifier: GPL-3.0-or-later
// A long random run on one window: thousands of "Számol" actions with inputs
// drawn from the awkward classes (zeros, equal or swapped edges, huge and
// tiny values, long digit strings, empty fields, pasted oddities, numbers
// beyond a double), typed or pasted into the fields and stored through their
// focus loss, with the pointer now and then over the graph; then one save.
// After every action: each result text is a finite number or empty; the
// window shows what the calculation core gives for the stored values; a
// failure brings exactly one message and leaves the fields of the steps that
// did not run as they were. The memory in use must not grow over the run; in
// the sanitizer build LeakSanitizer checks for leaks at exit.
//
// The seed is printed at the start; KALIBRIX_SOAK_SEED=<number> repeats a
// run or tries another.

#include "CalcTestSupport.h"
#include "Form1Fields.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <random>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

constexpr int kActions = 5000;
// The memory in use is measured first after this many actions, when Qt's
// caches (fonts, glyphs, styles) have filled, and again at the end.
constexpr int kWarmUpActions = 500;
// Growth allowed between the two: far below what even a small leak per
// action adds up to over 4,500 actions, far above what allocator
// fragmentation moves.
constexpr std::size_t kAllowedGrowthBytes = std::size_t{512} * 1024;
constexpr quint64 kDefaultSeed = 20240305;

const QString kTooLargeMark = QStringLiteral("túl nagy");
const QString kSaveName = QStringLiteral("tst_soak_mentes");

enum InputIndex { cMin, cMax, cSzort, fMin, fMax, fKf, kInputCount };
static_assert(kInputCount == kInputs.size());
using InputTexts = std::array<QString, kInputCount>;

// The worked example's value of input i, in pF or MHz.
double ExampleValue(int i)
{
    return ParseLeadingNumber(worked_example::Typed(kInputs[i].field));
}

using OutputTexts = std::map<OutputField, QString>;

QString OutputName(OutputField output)
{
    return QString::fromUtf8(form1::Spec(form1::ResultControl(output)).name);
}

// A result as the window shows it: an optional minus, digits, and the
// locale's separator with digits or none; a finite number.
bool IsFiniteNumberText(const QString& text, QChar separator)
{
    static const QRegularExpression shape(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    if (separator != u'.' && text.contains(u'.'))
        return false;
    QString plain = text;
    plain.replace(separator, u'.');
    bool ok = false;
    const double value = plain.toDouble(&ok);
    return shape.match(plain).hasMatch() && ok && std::isfinite(value);
}

bool SameBits(const void* a, const void* b, std::size_t size)
{
    return std::memcmp(a, b, size) == 0;
}

// Every member of the two states bit for bit (NaN and the sign of zero
// included).
bool SameState(const CalculationState& a, const CalculationState& b)
{
    const auto sameMember = [&](const StateMember& m) {
        return SameBits(&(a.*m.member), &(b.*m.member), sizeof(double));
    };
    return std::ranges::all_of(kStateMembers, sameMember) && a.sweep_i == b.sweep_i
           && SameBits(a.elt_sorted.data(), b.elt_sorted.data(), sizeof a.elt_sorted)
           && SameBits(a.elt_curve.data(), b.elt_curve.data(), sizeof a.elt_curve)
           && SameBits(a.fbe_curve.data(), b.fbe_curve.data(), sizeof a.fbe_curve);
}

#if defined(__SANITIZE_ADDRESS__)
#define KALIBRIX_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KALIBRIX_ADDRESS_SANITIZER
#endif
#endif

// Bytes the allocator has handed out and not yet got back; nothing where
// the allocator is not glibc's own (AddressSanitizer brings its own).
std::optional<std::size_t> HeapInUse()
{
#if defined(__GLIBC__) && !defined(KALIBRIX_ADDRESS_SANITIZER)
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#else
    return std::nullopt;
#endif
}

// The random inputs of the run, from one seeded generator.
class InputGenerator {
public:
    explicit InputGenerator(quint64 seed) : rng_(seed) {}

    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    template <class Range>
    void Shuffle(Range& range)
    {
        std::ranges::shuffle(range, rng_);
    }

    template <class T>
    const T& OneOf(const QList<T>& choices)
    {
        return choices[Between(0, static_cast<int>(choices.size()) - 1)];
    }

    // The next texts of the six fields, made from the current ones.
    InputTexts Next(const InputTexts& current)
    {
        InputTexts texts = current;
        int disruptions = Between(1, 3);
        if (Chance(0.3)) {
            for (int i = 0; i < kInputCount; ++i)
                texts[i] = Perturbed(i);
            disruptions = Between(0, 2);
        }
        for (int d = 0; d < disruptions; ++d)
            Disrupt(texts);
        return texts;
    }

private:
    enum class Kind {
        Perturbed,
        Zero,
        EqualEdges,
        SwappedEdges,
        Huge,
        Tiny,
        ManyDigits,
        Empty,
        PastedOddity,
        BeyondDouble,
        kCount
    };

    QString Digits(int count)
    {
        QString digits(count, u'0');
        std::ranges::generate(digits, [this] { return QChar(u'0' + Between(0, 9)); });
        digits[0] = QChar(u'0' + Between(1, 9));
        return digits;
    }

    // The worked example's value of the field times a factor of e^-0.7..e^0.7,
    // with 0 to 6 decimals.
    QString Perturbed(int field)
    {
        const double scale = std::exp(std::uniform_real_distribution<double>(-0.7, 0.7)(rng_));
        return QString::number(ExampleValue(field) * scale, 'f', Between(0, 6));
    }

    void Disrupt(InputTexts& texts)
    {
        // Weights of the kinds, in the order of Kind.
        static const std::array<double, static_cast<std::size_t>(Kind::kCount)> weights{
            20, 10, 8, 8, 8, 8, 8, 10, 8, 2};
        std::discrete_distribution<int> kinds(weights.begin(), weights.end());
        const int field = Between(0, kInputCount - 1);
        const bool band = Chance(0.5);
        const int low = band ? fMin : cMin;
        const int high = band ? fMax : cMax;
        switch (static_cast<Kind>(kinds(rng_))) {
        case Kind::Perturbed:
            texts[field] = Perturbed(field);
            break;
        case Kind::Zero:
            texts[field] = OneOf<QString>({"0", "0.0", ".", "000", "0."});
            break;
        case Kind::EqualEdges:
            texts[high] = texts[low];
            break;
        case Kind::SwappedEdges:
            std::swap(texts[low], texts[high]);
            break;
        case Kind::Huge:
            texts[field] = OneOf<QString>({"1e300", "1E299", "-1e300", Digits(Between(20, 290)),
                                           "1" + QString(Between(100, 290), u'0') + ".5"});
            break;
        case Kind::Tiny:
            texts[field] = OneOf<QString>(
                {"1e-300", "4.9e-324", "-2.5e-308", "0." + QString(Between(10, 330), u'0') + "1"});
            break;
        case Kind::ManyDigits: {
            const QString whole = Digits(Between(1, 4));
            texts[field] = whole + "." + Digits(Between(15, 40));
            break;
        }
        case Kind::Empty:
            texts[field].clear();
            break;
        case Kind::PastedOddity:
            texts[field] = OneOf<QString>({"-3", " 4 7", "0.4abc55", "abc", "1.2.3", "+2", "2e3",
                                           ".5", "5.", "1e", "-0", "0x10"});
            break;
        case Kind::BeyondDouble:
            // 1e303 MHz lies beyond a double only once it is in Hz.
            texts[field] =
                OneOf<QString>({"1e400", "-1e309", "1" + QString(Between(310, 330), u'0'),
                                field >= fMin ? "1e303" : "1e310"});
            break;
        case Kind::kCount:
            break;
        }
    }

    std::mt19937_64 rng_;
};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void randomRun();

private:
    QLineEdit* field(const char* name) const { return Control<QLineEdit>(*form_, name); }
    QLineEdit* input(int i) const { return field(std::string(kInputs[i].name).c_str()); }
    int InputOf(const QWidget* widget) const;
    OutputTexts Outputs() const;

    bool StoreInModel(int i);
    void MoveFocusTo(QWidget* target);
    void Enter(int i, const QString& text);
    void Calculate();
    void PointAtGraph();
    void ClickGraph();
    void Save();

    std::unique_ptr<Form1> form_;
    std::optional<InputGenerator> generator_;
    QStringList messages_;
    QStringList expectedMessages_;
    // What each input field should have stored, as its focus losses dictate.
    std::array<double, kInputCount> stored_{};
    QString context_;
    QChar separator_;
    bool saveShown_ = false;
    int computed_ = 0;
    int failedCalculations_ = 0;
    int missingInputs_ = 0;
    int tooLarge_ = 0;
};

int TestSoak::InputOf(const QWidget* widget) const
{
    for (int i = 0; i < kInputCount; ++i)
        if (widget == input(i))
            return i;
    return -1;
}

OutputTexts TestSoak::Outputs() const
{
    OutputTexts texts;
    for (const form1::ResultField& result : form1::kResultFields)
        texts[result.output] = field(form1::Spec(result.control).name)->text();
    return texts;
}

void TestSoak::initTestCase()
{
    // The window takes its decimal separator from the locale when it opens:
    // a comma, so that every result text is checked with it.
    const QLocale hungarian(QLocale::Hungarian, QLocale::Hungary);
    separator_ = hungarian.decimalPoint().front();
    RecordMessages(messages_);
    QVERIFY(OpenWindow(form_, hungarian));
}

void TestSoak::cleanupTestCase()
{
    CloseWindow(form_);
    QFile::remove(QCoreApplication::applicationDirPath() + "/adatok/" + kSaveName + ".txt");
}

// The focus loss of input i, as the field should handle it: the text's
// leading number times the factor is stored, or, beyond a double, the old
// value stays and the message says so. False in that case.
bool TestSoak::StoreInModel(int i)
{
    try {
        stored_[i] = ScaledInput(input(i)->text().toStdString(), kInputs[i].factor);
        return true;
    } catch (const OverflowError&) {
        expectedMessages_ << kTooLargeMark;
        ++tooLarge_;
        return false;
    }
}

// Moves the focus to the target, or with Tab to the next control when the
// target is null; an input field that loses it stores its value.
void TestSoak::MoveFocusTo(QWidget* target)
{
    QWidget* previous = QApplication::focusWidget();
    if (previous == target || (!target && !previous))
        return;
    if (target)
        target->setFocus();
    else
        QTest::keyClick(previous, Qt::Key_Tab);
    if (const int i = InputOf(previous); i >= 0)
        StoreInModel(i);
}

// Puts the text into input i as a user would: digits and points typed key
// by key (some points as commas, which the field turns into points), any
// other text pasted over the old one.
void TestSoak::Enter(int i, const QString& text)
{
    QLineEdit* target = input(i);
    MoveFocusTo(target);
    static const QRegularExpression typeable(QStringLiteral("^[0-9.]{0,40}$"));
    const bool typed = typeable.match(text).hasMatch() && generator_->Chance(0.6);
    context_ += QStringLiteral(" %1<-\"%2\"%3")
                    .arg(QStringOf(kInputs[i].name), text, typed ? "" : " pasted");
    if (typed) {
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_End, QString(), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_Home, QString(), Qt::ShiftModifier);
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_Backspace, QStringLiteral("\b"),
                            Qt::NoModifier);
        QString keys = text;
        std::replace_if(
            keys.begin(), keys.end(),
            [this](QChar c) { return c == u'.' && generator_->Chance(0.3); }, QChar(u','));
        TypeText(target, keys);
    } else {
        target->selectAll();
        target->insert(text);
    }
    if (target->text() != text)
        QFAIL(
            qPrintable(context_ + QStringLiteral(": the field shows \"%1\"").arg(target->text())));
    // Qt keeps every edit of a field for Undo (some 20 bytes for each
    // character typed or deleted) until its text is set anew: nothing a user
    // types matters, thousands of pasted 300-digit numbers do. Setting the
    // same text again empties that history, so that the heap measured is
    // what the window itself holds.
    target->setText(text);
}

// A click on "Számol", checked against the calculation core run on a copy of
// the window's state with the values the fields should have stored.
void TestSoak::Calculate()
{
    const OutputTexts before = Outputs();
    TrackingCalculator expected = form_->calculator();

    // The click moves the focus to the button; a field that cannot store its
    // number has the click dropped.
    bool clickDropped = false;
    if (const int i = InputOf(QApplication::focusWidget()); i >= 0)
        clickDropped = !StoreInModel(i);
    for (int i = 0; i < kInputCount; ++i)
        expected.state.*kInputs[i].member = stored_[i];

    bool ran = false;
    bool succeeded = false;
    OutputRecorder sink;
    if (!clickDropped) {
        ran = true;
        bool anyEmpty = false;
        for (int i = 0; i < kInputCount; ++i)
            anyEmpty = anyEmpty || (kInputs[i].required && input(i)->text().isEmpty());
        if (anyEmpty) {
            ++missingInputs_;
        } else {
            try {
                SolveTracking(expected, sink);
                succeeded = true;
                ++computed_;
            } catch (const CalculationError&) {
                ++failedCalculations_;
            }
        }
        if (!succeeded)
            expectedMessages_ << kMissingData;
    }
    saveShown_ = saveShown_ || succeeded;

    QTest::mouseClick(form_->findChild<QPushButton*>("start"), Qt::LeftButton);

    const OutputTexts after = Outputs();
    OutputTexts expectedTexts = before;
    for (const auto& [output, text] : sink.current)
        expectedTexts[output] = QString::fromStdString(text);

    const auto fail = [this](const QString& what) { QFAIL(qPrintable(context_ + ": " + what)); };
    bool messagesAsExpected = messages_.size() == expectedMessages_.size();
    for (qsizetype m = 0; messagesAsExpected && m < messages_.size(); ++m)
        messagesAsExpected = expectedMessages_[m] == kTooLargeMark
                                 ? messages_[m].contains(kTooLargeMark)
                                 : messages_[m] == expectedMessages_[m];
    if (!messagesAsExpected)
        return fail(QStringLiteral("messages [%1], expected [%2]")
                        .arg(messages_.join(" | "), expectedMessages_.join(" | ")));
    for (const auto& [output, shown] : after) {
        const QString name = OutputName(output);
        if (!shown.isEmpty() && !IsFiniteNumberText(shown, separator_))
            return fail(QStringLiteral("%1 shows \"%2\"").arg(name, shown));
        if (shown != expectedTexts[output])
            return fail(QStringLiteral("%1 shows \"%2\", expected \"%3\"")
                            .arg(name, shown, expectedTexts[output]));
        if (succeeded && shown.isEmpty())
            return fail(QStringLiteral("%1 is empty after a calculation").arg(name));
    }
    const auto extremes = [](const OutputTexts& texts) {
        return std::pair(texts.at(OutputField::n_elt), texts.at(OutputField::p_elt));
    };
    if (ran && !succeeded && extremes(after) != extremes(before))
        return fail(QStringLiteral("a failed calculation changed the extreme deviations"));
    if (form_->findChild<QPushButton*>("Command1")->isVisible() != saveShown_)
        return fail(QStringLiteral("\"Ment\" is %1").arg(saveShown_ ? "hidden" : "shown"));
    if (!SameState(form_->calculator().state, expected.state))
        return fail(QStringLiteral("the window's state differs from the calculation's"));
}

// The pointer somewhere over the graph, its edges included: the tool tip is
// empty or two finite numbers three blanks apart.
void TestSoak::PointAtGraph()
{
    auto* graph = form_->findChild<QWidget*>("pct_main");
    const int x = generator_->Between(-5, graph->width() + 5);
    const QPoint position(x, generator_->Between(-5, graph->height() + 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(position), graph->mapToGlobal(QPointF(position)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(graph, &move);

    const QString tip = graph->toolTip();
    const QStringList parts = tip.split(QStringLiteral("   "));
    if (!tip.isEmpty()
        && (parts.size() != 2 || !IsFiniteNumberText(parts[0], separator_)
            || !IsFiniteNumberText(parts[1], separator_)))
        QFAIL(qPrintable(context_ + ": tool tip \"" + tip + "\""));
}

// A click on the graph draws it again and changes no text.
void TestSoak::ClickGraph()
{
    const OutputTexts before = Outputs();
    const qsizetype messages = messages_.size();
    auto* graph = form_->findChild<QWidget*>("pct_main");
    MoveFocusTo(graph);
    QTest::mouseClick(graph, Qt::LeftButton, {}, graph->rect().center());
    if (Outputs() != before || messages_.size() != messages)
        QFAIL(qPrintable(context_ + ": a click on the graph changed the window"));
}

// One save under a name typed into filenev: no message, and the file holds
// the texts the fields show.
void TestSoak::Save()
{
    QLineEdit* filenev = field("filenev");
    MoveFocusTo(filenev);
    QTest::keyClicks(filenev, kSaveName);
    const QString path = QCoreApplication::applicationDirPath() + "/adatok/" + kSaveName + ".txt";
    QFile::remove(path);
    messages_.clear();
    QTest::mouseClick(form_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QCOMPARE(messages_, QStringList());
    const QString mismatch = SavedFileMismatch(path, *form_);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestSoak::randomRun()
{
    quint64 seed = kDefaultSeed;
    if (qEnvironmentVariableIsSet("KALIBRIX_SOAK_SEED")) {
        bool ok = false;
        seed = qEnvironmentVariable("KALIBRIX_SOAK_SEED").toULongLong(&ok);
        QVERIFY2(ok, "KALIBRIX_SOAK_SEED must be a whole number");
    }
    qInfo("seed %llu (KALIBRIX_SOAK_SEED=<number> runs another)", seed);
    InputGenerator& generator = generator_.emplace(seed);

    QElapsedTimer timer;
    timer.start();
    std::optional<std::size_t> warmedUp;
    InputTexts texts;
    for (int action = 1; action <= kActions; ++action) {
        messages_.clear();
        expectedMessages_.clear();
        context_ = QStringLiteral("action %1:").arg(action);

        const InputTexts next = generator.Next(texts);
        std::array<int, kInputCount> order{cMin, cMax, cSzort, fMin, fMax, fKf};
        generator.Shuffle(order);
        for (const int i : order) {
            if (next[i] != texts[i] || generator.Chance(0.15)) {
                Enter(i, next[i]);
                if (QTest::currentTestFailed())
                    return;
            }
        }
        texts = next;

        // The last field is left by the click on "Számol" itself, or before
        // it by Tab or by the program.
        if (generator.Chance(0.15)) {
            context_ += " Tab";
            MoveFocusTo(nullptr);
        } else if (generator.Chance(0.1)) {
            context_ += " filenev";
            MoveFocusTo(field("filenev"));
        }
        Calculate();
        if (QTest::currentTestFailed())
            return;

        if (generator.Chance(0.1))
            PointAtGraph();
        if (generator.Chance(0.03))
            ClickGraph();
        if (QTest::currentTestFailed())
            return;
        // What the event loop does between two user actions: posted events,
        // paint events, timers, and the objects whose deletion was deferred.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (action == kWarmUpActions)
            warmedUp = HeapInUse();
    }
    const std::optional<std::size_t> atEnd = HeapInUse();

    qInfo("%d actions in %lld ms: %d computed, %d failed in the calculation, %d with an "
          "input missing, %d numbers too large to store",
          kActions, timer.elapsed(), computed_, failedCalculations_, missingInputs_, tooLarge_);
    // Every kind of outcome turned up often enough to count.
    QVERIFY(computed_ >= kActions / 20);
    QVERIFY(failedCalculations_ >= kActions / 20);
    QVERIFY(missingInputs_ >= kActions / 20);
    QVERIFY(tooLarge_ >= 10);

    if (!warmedUp || !atEnd) {
        qInfo("heap not measured under this allocator; LeakSanitizer checks at exit");
    } else {
        qInfo("heap in use after %d actions %zu bytes, after %d %zu bytes", kWarmUpActions,
              *warmedUp, kActions, *atEnd);
        QVERIFY2(*atEnd <= *warmedUp + kAllowedGrowthBytes,
                 qPrintable(QStringLiteral("the heap grew by %1 bytes")
                                .arg(qint64(*atEnd) - qint64(*warmedUp))));
    }

    Save();
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
