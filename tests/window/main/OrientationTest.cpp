// What keeps the user oriented in the strip: where it scrolls after New and
// imports, the wheel, and the keys while the strip has the keyboard.

#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include "tests/window/MainWindowFixture.h"

namespace {

class OrientationTest : public MainWindowTest {
 protected:
  QScrollBar& Bar() { return *form.ScrollBox1->horizontalScrollBar(); }

  // Whether picture i's whole cell lies inside the scroll box's view.
  bool InView(int i) {
    const int left = i * 160;
    return left >= Bar().value() && left + 160 <= Bar().value() + form.ScrollBox1->viewport()->width();
  }
};

TEST_F(OrientationTest, NewScrollsBackAndAnImportShowsItsFirstPicture) {
  Import(SomePictures(12));
  Bar().setValue(Bar().maximum());
  form.New1->trigger();
  EXPECT_EQ(Bar().value(), 0);
  EXPECT_EQ(form.PaintBox1->width(), 858 + 8 * 160) << "New keeps the width";

  Import(SomePictures(6));
  EXPECT_TRUE(InView(0));
  Import(SomePictures(6));
  EXPECT_TRUE(InView(6)) << "the first of the second import";
  EXPECT_GT(Bar().value(), 0);
}

TEST_F(OrientationTest, TheVerticalWheelScrollsTheStripSideways) {
  Import(SomePictures(12));
  const auto turn = [&](int angle) {
    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(form.ScrollBox1->viewport(), &wheel);
    return Bar().value();
  };
  const int down = turn(-120);
  EXPECT_GT(down, 0);
  EXPECT_LT(turn(120), down);
}

TEST_F(OrientationTest, KeysWorkTheStripAsTheToolbarDoes) {
  const QStringList chosen = SomePictures(3);
  Import(chosen);
  form.PaintBox1->setFocus();
  struct Row {
    const char* what;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QStringList order;
    int selected;
  };
  const QStringList firstLast = {chosen[1], chosen[2], chosen[0]};
  const Row rows[] = {
      {"Right with nothing selected takes the first", Qt::Key_Right, Qt::NoModifier, chosen, 0},
      {"Left at the first stays", Qt::Key_Left, Qt::NoModifier, chosen, 0},
      {"Ctrl+Right moves it", Qt::Key_Right, Qt::ControlModifier, {chosen[1], chosen[0], chosen[2]}, 1},
      {"again", Qt::Key_Right, Qt::ControlModifier, firstLast, 2},
      {"Ctrl+Right at the end", Qt::Key_Right, Qt::ControlModifier, firstLast, 2},
      {"Left", Qt::Key_Left, Qt::NoModifier, firstLast, 1},
      {"Shift+Left is no key of the strip", Qt::Key_Left, Qt::ShiftModifier, firstLast, 1},
      {"Ctrl+Left moves it back", Qt::Key_Left, Qt::ControlModifier, {chosen[2], chosen[1], chosen[0]}, 0},
      {"Delete", Qt::Key_Delete, Qt::NoModifier, {chosen[1], chosen[0]}, -1},
  };
  for (const Row& row : rows) {
    QTest::keyClick(form.PaintBox1, row.key, row.modifiers);
    EXPECT_EQ(ListedPaths(), row.order) << row.what;
    EXPECT_EQ(form.PictureList.SelectedIndex(), row.selected) << row.what;
  }
  EXPECT_EQ(form.PaintBox1->width(), 858 - 160) << "Delete narrows the strip as the button does";

  form.PictureList.SelectAt(0);
  QTest::keyClick(&form, Qt::Key_Delete);
  EXPECT_EQ(form.PictureList.Count(), 2) << "without the strip's focus the key does nothing";
}

}  // namespace
