#include "panel/lamp_button.h"

#include <gtest/gtest.h>

#include <QImage>

namespace korvelane {
namespace {

// The colour painted at the left end of the key's face, clear of its caption and corners.
QColor FaceColour(LampButton& key) {
  const QImage image = key.grab().toImage();
  return image.pixelColor(4, image.height() / 2);
}

bool Near(const QColor& a, const QColor& b, int tolerance = 40) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

TEST(LampButton, ColoursCarryRedInTheLowByte) {
  EXPECT_EQ(LampButton::ToQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(LampButton::ToQColor(0x00FF00), QColor(0, 255, 0));
  EXPECT_EQ(LampButton::ToQColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(LampButton::FromQColor(QColor(255, 0, 255)), kLampMagenta);
  EXPECT_EQ(LampButton::FromQColor(QColor(12, 34, 56)), LampRgb(12, 34, 56));
  EXPECT_EQ(LampButton::FromQColor(QColor::fromHsv(120, 255, 255)), kLampGreen);
}

TEST(LampButton, AKeyShowsItsRestColourAndItsActiveColourWhileHeldDown) {
  LampButton key(LampButton::Kind::kKey);
  key.setText(QStringLiteral("CH1"));
  key.resize(key.sizeHint());
  const struct {
    LampColours colours;
    QColor rest;
    QColor held;
  } pairs[] = {
      {{kLampGreen, kLampMagenta}, QColor(0, 255, 0), QColor(255, 0, 255)},
      {{kLampRed, kLampWhite}, QColor(255, 0, 0), QColor(255, 255, 255)},
      {{LampRgb(212, 208, 200), kLampBlack}, QColor(212, 208, 200), QColor(0, 0, 0)},
  };
  for (const auto& p : pairs) {
    key.SetColours(p.colours);
    key.setDown(false);
    EXPECT_EQ(key.shown_colour(), p.rest);
    EXPECT_TRUE(Near(FaceColour(key), p.rest)) << FaceColour(key).name().toStdString();
    key.setDown(true);
    EXPECT_EQ(key.shown_colour(), p.held);
    EXPECT_TRUE(Near(FaceColour(key), p.held)) << FaceColour(key).name().toStdString();
  }
  // The two looks can be told apart by a reader of the screen too.
  key.setDown(false);
  key.SetColours({kLampGreen, kLampMagenta});
  const QString lit = key.accessibleDescription();
  key.SetColours({kLampRed, kLampWhite});
  EXPECT_NE(key.accessibleDescription(), lit);
}

TEST(LampButton, TheIndicatorShowsItsValueAndTakesNoInput) {
  LampButton lamp(LampButton::Kind::kIndicator);
  lamp.resize(lamp.sizeHint());
  lamp.SetColours({LampRgb(60, 60, 60), kLampGreen});
  const QPoint centre(lamp.width() / 2, lamp.height() / 2);
  EXPECT_EQ(lamp.shown_colour(), QColor(60, 60, 60));
  lamp.SetValue(true);
  EXPECT_EQ(lamp.shown_colour(), QColor(0, 255, 0));
  const QColor on = lamp.grab().toImage().pixelColor(centre);
  EXPECT_GT(on.green(), 150);
  EXPECT_LT(on.red(), 150);
  EXPECT_EQ(lamp.accessibleDescription(), QStringLiteral("on"));
  EXPECT_EQ(lamp.focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(lamp.testAttribute(Qt::WA_TransparentForMouseEvents));
}

}  // namespace
}  // namespace korvelane
