// Random editing of the new-value fields: after start values confirmed through
// the real dialog, random sequences of typing, deleting, pasting, stepping and
// switching fields. After every step the field that changed determines the
// other one: the clamped AndererWert of its text, or no change where its text
// is no integer or -1.
#include "WindowTestSupport.h"

#include "calc/AndererWert.h"
#include "controls/SpinButtons.h"
#include "util/IntegerText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace windowtest;

namespace {

constexpr int StepsPerSequence = 150;

// What the other field must show after `changed` took its current text.
QString expectedOther(TForm1& f, TSpinEdit* changed, const QString& otherBefore)
{
    const std::optional<std::int32_t> n = util::ParseIntegerText(changed->text().toStdU16String());
    if (!n || *n == -1)
        return otherBefore;
    const std::int32_t width = f.Edit1->text().toInt();
    const std::int32_t height = f.Edit2->text().toInt();
    const std::int64_t v = AndererWert(width, height, changed->Tag(), *n);
    return QString::number(std::clamp<std::int64_t>(v, 1, 99999));
}

class RandomEditing : public ::testing::TestWithParam<unsigned> {
protected:
    std::mt19937 rng{GetParam()};
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
};

TEST_P(RandomEditing, TheOtherFieldAlwaysFollowsTheFieldThatChanged)
{
    Windows w;
    TForm1& f = *w.form;
    // Start values through the dialog; a typed 0 is raised to 1.
    const int startW = pick(0, 9) == 0 ? 0 : pick(1, 9999);
    const int startH = pick(0, 9) == 0 ? 0 : pick(1, 9999);
    ASSERT_EQ(enterStartValues(f, QString::number(startW), QString::number(startH)), TPixelForm::mrOk);
    ASSERT_EQ(f.Edit1->text(), QString::number(std::max(startW, 1)));
    ASSERT_EQ(f.Edit2->text(), QString::number(std::max(startH, 1)));

    f.show();
    f.Timer1->stop();
    QApplication::setActiveWindow(&f);
    f.SpinEdit1->setFocus();

    static const QStringList pastes
        = {QStringLiteral("7"),     QStringLiteral("123"),     QStringLiteral("-1"),  QStringLiteral("abc"),
           QStringLiteral("99999"), QStringLiteral("$1F"),     QStringLiteral(" 42"), QStringLiteral("42 "),
           QStringLiteral("0"),     QStringLiteral("1234567"), QStringLiteral("-"),   QStringLiteral("0x10")};
    static const QString typed = QStringLiteral("0123456789-+a ");

    TSpinEdit* fields[2] = {f.SpinEdit1, f.SpinEdit2};
    int calculations = 0; // steps in which the other field was recomputed to a new text
    for (int step = 0; step < StepsPerSequence; ++step) {
        TSpinEdit* active = fields[0]->editor()->hasFocus() ? fields[0] : fields[1];
        ASSERT_TRUE(active->editor()->hasFocus()) << "step " << step;
        const QString before[2] = {fields[0]->text(), fields[1]->text()};
        QLineEdit* e = active->editor();

        std::string action;
        switch (pick(0, 8)) {
        case 0:
        case 1: {
            const QChar c = typed.at(pick(0, int(typed.size()) - 1));
            action = "type " + QString(c).toStdString();
            QTest::keyClick(e, c.toLatin1());
            break;
        }
        case 2:
            action = "select all, type a digit";
            QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(e, char('0' + pick(0, 9)));
            break;
        case 3:
            action = pick(0, 1) ? "backspace" : "home, delete";
            if (action == "backspace") {
                QTest::keyClick(e, Qt::Key_Backspace);
            } else {
                QTest::keyClick(e, Qt::Key_Home);
                QTest::keyClick(e, Qt::Key_Delete);
            }
            break;
        case 4: {
            const QString text = pastes.at(pick(0, int(pastes.size()) - 1));
            action = "paste " + text.toStdString();
            QGuiApplication::clipboard()->setText(text);
            if (pick(0, 1))
                QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
            break;
        }
        case 5:
            action = pick(0, 1) ? "key up" : "key down";
            QTest::keyClick(e, action == "key up" ? Qt::Key_Up : Qt::Key_Down);
            break;
        case 6: {
            SpinButtons* arrows = active->buttons();
            const bool up = pick(0, 1);
            action = up ? "arrow button up" : "arrow button down";
            QTest::mouseClick(arrows, Qt::LeftButton, {},
                              QPoint(arrows->width() / 2, up ? arrows->height() / 4 : arrows->height() * 3 / 4));
            break;
        }
        case 7:
            action = pick(0, 1) ? "left" : "end";
            QTest::keyClick(e, action == "left" ? Qt::Key_Left : Qt::Key_End);
            break;
        default: {
            // Clicking the other field: the field left behind may correct itself.
            TSpinEdit* other = active == fields[0] ? fields[1] : fields[0];
            action = "click into the other field";
            QTest::mouseClick(other->editor(), Qt::LeftButton);
            break;
        }
        }
        SCOPED_TRACE("seed " + std::to_string(GetParam()) + ", step " + std::to_string(step) + ": " + action + " (was "
                     + before[0].toStdString() + " / " + before[1].toStdString() + ")");

        const bool changed[2] = {fields[0]->text() != before[0], fields[1]->text() != before[1]};
        if (changed[0] && changed[1]) {
            // The field acted on (for the click: the one left behind) changed and the
            // other was computed from it.
            TSpinEdit* source = active;
            TSpinEdit* target = source == fields[0] ? fields[1] : fields[0];
            ASSERT_EQ(target->text(), expectedOther(f, source, before[target == fields[0] ? 0 : 1]));
            ++calculations;
        } else if (changed[0] || changed[1]) {
            // A field changed but left the other as it was: only right where its text is no
            // integer, is -1, or computes exactly what the other already showed.
            const int i = changed[0] ? 0 : 1;
            ASSERT_EQ(fields[1 - i]->text(), expectedOther(f, fields[i], before[1 - i]));
        }
        // Neither changed: nothing to follow.
    }
    // The keys reached the fields: a good share of the steps recomputed the other field.
    EXPECT_GT(calculations, StepsPerSequence / 10);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEditing, ::testing::Range(1u, 13u));

} // namespace
