#include <gtest/gtest.h>

#include "app/IniFile.h"
#include "graph/GraphSettings.h"

TEST(GraphSettings, MissingSectionGivesTheDefaultsAndTheCurrentGeometry) {
  IniFile ini;
  GraphSettings current;
  current.windowWidth = 700;
  current.windowHeight = 583;
  const GraphSettings g = GraphSettings::load(ini, current);
  EXPECT_TRUE(g.autoZoom);
  EXPECT_EQ(g.backColor, 0xFF00000Fu);
  EXPECT_EQ(g.gridColor, RgbColor(128, 128, 128));
  EXPECT_EQ(g.trackingLine, 1);
  EXPECT_EQ(g.dotSize, 2);
  EXPECT_FALSE(g.setRange);
  EXPECT_EQ(g.xAxisScaleIndex, 24);
  EXPECT_EQ(g.yAxisMax, 10);
  EXPECT_EQ(g.windowWidth, 700);
  EXPECT_EQ(g.windowHeight, 583);
}

TEST(GraphSettings, SavesEveryKeyInOrderUnderTheSectionWithItsTrailingBlank) {
  GraphSettings g;
  g.rangeMaxColor = RgbColor(0x12, 0x34, 0x56);
  g.yAxisMin = -2.5;
  g.yAxisMax = -2.5;
  IniFile ini;
  ini.setValue("Main", "Top", "5");
  g.save(ini);
  EXPECT_EQ(ini.sections(), (QStringList{"Main", "Graphic "}));
  EXPECT_EQ(ini.keys("Graphic "),
            (QStringList{"Autozoom", "BackColor", "GridColor", "Tracking", "TrackingLine", "Dots", "DotSize",
                         "SetRange", "RangeMin", "RangeMax", "RangeMinColor", "RangeMaxColor", "xAxisScaleIndex",
                         "yAxisMin", "yAxisMax", "WindowHeight", "WindowWidth", "WindowXPos", "WindowYPos"}));
  EXPECT_EQ(ini.value("Graphic ", "BackColor"), "-16777201");
  EXPECT_EQ(ini.value("Graphic ", "GridColor"), QString::number(0x808080));
  EXPECT_EQ(ini.value("Graphic ", "RangeMaxColor"), QString::number(0x563412));

  const GraphSettings back = GraphSettings::load(ini, GraphSettings{});
  EXPECT_EQ(back.rangeMaxColor, g.rangeMaxColor);
  EXPECT_EQ(back.backColor, ClBtnFace);
  EXPECT_EQ(back.yAxisMin, -2.5);
  EXPECT_EQ(back.yAxisMax, -2.5);
}

TEST(GraphSettings, ReadsHexColoursAndIgnoresOtherSections) {
  IniFile ini;
  ini.loadFromBytes("[Graphic]\r\nDots=0\r\n[Graphic ]\r\nGridColor=0x0000FF\r\nTracking=0\r\nDotSize=junk\r\n");
  const GraphSettings g = GraphSettings::load(ini, GraphSettings{});
  EXPECT_EQ(g.gridColor, RgbColor(255, 0, 0));
  EXPECT_FALSE(g.tracking);
  EXPECT_TRUE(g.dots);
  EXPECT_EQ(g.dotSize, 2);
}
