// Things on the board and in the counter box: the items of the detail view, the treasure and
// counter pictures, the two figures, the pointer and the end-of-turn button.
#include <cmath>

#include "game/content_codes.h"
#include "tools/artgen/painters.h"
#include "tools/artgen/text.h"
#include "tools/artgen/theme.h"

namespace {

constexpr float CX = 15.5f, CY = 15.5f;

Color Lit(Color base, float x, float y, float cx, float cy, float r, float amount = 0.35f) {
  float k = ((x - cx) + (y - cy)) / (2.f * r);
  return Shade(base, std::clamp(1.f - amount * 2.f * k, 0.5f, 1.5f));
}

// A dark shadow blob under solid things, so they stand up from the floor.
void Ground_Shadow(Canvas& c, float cx, float cy, float rx, float ry) {
  Paint_Flat(
      c, [&](float x, float y) { return Sdf_Ellipse(x, y, cx, cy, rx, ry); }, Rgb(40, 30, 22));
}

Canvas Coin_Pile(int count) {
  Canvas t = New_Canvas(32, 32);
  const Point at[4] = {{12, 19}, {20, 21}, {17, 13}, {9, 12}};
  for (int i = 0; i < count; ++i) {
    float x0 = at[i].x, y0 = at[i].y;
    Paint(
        t, [&](float x, float y) { return Sdf_Ellipse(x, y, x0, y0, 4.6f, 3.8f); },
        [&](float x, float y, float) {
          return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK,
                     std::clamp((x - x0 + y - y0) / 8.f + 0.5f, 0.f, 1.f));
        });
    Paint_Flat(
        t, [&](float x, float y) { return std::fabs(Sdf_Ellipse(x, y, x0, y0, 2.8f, 2.2f)) - 0.5f; },
        theme::GOLD_DARK);
  }
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Home_Mark() {
  Canvas t = New_Canvas(32, 32);
  Paint(
      t, [&](float x, float y) { return std::fabs(Sdf_Circle(x, y, CX, CY, 12.f)) - 2.f; },
      [&](float x, float y, float) { return Lit(theme::GOLD, x, y, CX, CY, 12.f); });
  // A house: the way home.
  std::vector<Point> roof = {{CX, 7.5f}, {CX + 7.5f, 14.5f}, {CX - 7.5f, 14.5f}};
  Paint_Flat(
      t,
      [&](float x, float y) {
        return std::min(Sdf_Polygon(x, y, roof), Sdf_Box(x, y, CX, 18.5f, 5.f, 4.5f));
      },
      theme::GOLD_LIGHT);
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Box(x, y, CX, 20.f, 1.6f, 3.f); }, theme::GOLD_DARK);
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Crate() {
  Canvas t = New_Canvas(32, 32);
  Ground_Shadow(t, 17.5f, 18.f, 14.f, 13.f);
  Paint(
      t, [&](float x, float y) { return Sdf_Box(x, y, CX, CY, 12.f, 12.f, 1.5f); },
      [&](float x, float y, float d) {
        Color c = Mix(Rgb(176, 120, 64), Rgb(120, 76, 36), Fbm(x * 0.4f, y * 1.6f, 32.f, 4, 3, 5u));
        if (std::fmod(y - 3.5f, 6.f) < 0.8f) c = Rgb(70, 40, 20);  // planks
        if (d > -2.5f) c = Shade(Rgb(150, 100, 50), 0.8f);         // frame
        return Lit(c, x, y, CX, CY, 12.f, 0.2f);
      });
  // Iron bands across the diagonal and the corners.
  Paint_Flat(
      t,
      [&](float x, float y) {
        return std::max(Sdf_Segment(x, y, 5.f, 5.f, 26.f, 26.f, 1.3f), Sdf_Box(x, y, CX, CY, 10.f, 10.f));
      },
      Rgb(90, 56, 30));
  for (float sx : {5.f, 26.f})
    for (float sy : {5.f, 26.f})
      Paint_Flat(
          t, [&](float x, float y) { return Sdf_Circle(x, y, sx, sy, 1.5f); }, theme::IRON);
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Scroll() {
  Canvas t = New_Canvas(32, 32);
  Paint(
      t, [&](float x, float y) { return Sdf_Box(x, y, CX, CY + 1.f, 9.f, 6.f, 1.f); },
      [&](float x, float y, float) { return Parchment(x, y, 32.f, 3u); });
  for (float sx : {6.5f, 24.5f})
    Paint(
        t, [&](float x, float y) { return Sdf_Box(x, y, sx, CY + 1.f, 2.f, 7.5f, 2.f); },
        [&](float x, float y, float) { return Lit(theme::PARCHMENT_DARK, x, y, sx, CY, 3.f); });
  for (float ly : {13.5f, 16.5f, 19.5f})
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Segment(x, y, 10.f, ly, 21.f, ly, 0.5f); }, Rgb(120, 90, 60));
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Circle(x, y, 20.f, 22.f, 2.f); }, Rgb(170, 30, 30));  // a seal
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Barrel() {
  Canvas t = New_Canvas(32, 32);
  Ground_Shadow(t, 17.5f, 18.f, 13.5f, 13.5f);
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, CX, CY, 12.5f); },
      [&](float x, float y, float) {
        float r = std::hypot(x - CX, y - CY);
        Color c = Mix(Rgb(168, 108, 58), Rgb(110, 66, 32), Fbm(x * 1.5f, y * 0.3f, 32.f, 4, 2, 8u));
        if (std::fmod(x - CX + 40.f, 4.5f) < 0.7f && r < 9.f) c = Rgb(80, 46, 22);  // lid planks
        if (std::fabs(r - 10.5f) < 1.2f) c = theme::IRON;                           // hoop
        return Lit(c, x, y, CX, CY, 12.5f);
      });
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Sword() {
  Canvas t = New_Canvas(32, 32);
  Paint(
      t, [&](float x, float y) { return Sdf_Segment(x, y, 9.f, 23.f, 26.f, 6.f, 1.7f); },
      [&](float x, float y, float) {
        return Mix(Rgb(240, 244, 250), Rgb(130, 136, 150), std::clamp((x - y + 4.f) / 8.f, 0.f, 1.f));
      });
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Segment(x, y, 6.f, 20.f, 12.f, 26.f, 1.5f); },
      theme::GOLD);  // guard
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Segment(x, y, 8.f, 24.f, 4.5f, 27.5f, 1.4f); }, theme::WOOD);
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Circle(x, y, 4.f, 28.f, 1.8f); }, theme::GOLD);
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Urn() {
  Canvas t = New_Canvas(32, 32);
  Ground_Shadow(t, 17.5f, 18.f, 13.f, 13.f);
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, CX, CY, 12.f); },
      [&](float x, float y, float) { return Lit(Rgb(190, 96, 56), x, y, CX, CY, 12.f, 0.45f); });
  Paint_Flat(
      t, [&](float x, float y) { return std::fabs(Sdf_Circle(x, y, CX, CY, 8.5f)) - 0.8f; },
      Rgb(236, 190, 120));
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, CX, CY, 5.5f); },
      [&](float x, float y, float) { return Lit(Rgb(150, 70, 40), x, y, CX, CY, 5.5f, -0.3f); });
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Circle(x, y, CX + 0.5f, CY + 0.5f, 3.5f); }, Rgb(36, 18, 12));
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Brazier() {
  Canvas t = New_Canvas(32, 32);
  Ground_Shadow(t, 17.5f, 18.f, 13.5f, 13.5f);
  for (int i = 0; i < 3; ++i) {  // three legs
    float a = 0.5f + 2.094f * static_cast<float>(i);
    Paint_Flat(
        t,
        [&](float x, float y) {
          return Sdf_Segment(x, y, CX, CY, CX + 14.f * std::cos(a), CY + 14.f * std::sin(a), 1.5f);
        },
        theme::IRON);
  }
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, CX, CY, 11.f); },
      [&](float x, float y, float) { return Lit(Rgb(96, 92, 96), x, y, CX, CY, 11.f); });
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, CX, CY, 8.5f); },
      [&](float x, float y, float) {
        float n = Fbm(x, y, 32.f, 6, 2, 12u);
        return Mix(Rgb(170, 40, 10), Rgb(255, 150, 40), n);
      });
  // The flames.
  Paint(
      t,
      [&](float x, float y) {
        return std::min(Sdf_Ellipse(x, y, CX - 2.f, CY - 1.f, 3.5f, 5.f),
                        Sdf_Ellipse(x, y, CX + 2.5f, CY + 1.f, 3.f, 4.f));
      },
      [&](float, float, float d) {
        return Mix(Rgb(255, 250, 190), theme::FLAME, std::clamp(1.f + d / 2.5f, 0.f, 1.f));
      });
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Mushrooms() {
  Canvas t = New_Canvas(32, 32);
  struct Cap {
    float x, y, r;
  };
  const Cap caps[] = {{11, 18, 5.f}, {20, 14, 4.2f}, {19, 23, 3.5f}};
  for (const Cap& m : caps) {
    Paint(
        t, [&](float x, float y) { return Sdf_Circle(x, y, m.x, m.y, m.r); },
        [&](float x, float y, float) { return Lit(Rgb(196, 60, 40), x, y, m.x, m.y, m.r, 0.4f); });
    Paint_Flat(
        t,
        [&](float x, float y) { return Sdf_Circle(x, y, m.x - m.r * 0.35f, m.y - m.r * 0.3f, m.r * 0.22f); },
        Rgb(250, 240, 220));
    Paint_Flat(
        t,
        [&](float x, float y) { return Sdf_Circle(x, y, m.x + m.r * 0.4f, m.y + m.r * 0.1f, m.r * 0.17f); },
        Rgb(250, 240, 220));
  }
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Cobweb() {
  Canvas t = New_Canvas(32, 32);
  // Anchored in the top-left corner of the square, as webs are.
  Paint_Flat(
      t,
      [&](float x, float y) {
        float d = 1e9f;
        for (int i = 0; i < 5; ++i) {
          float a = 0.1f + 0.34f * static_cast<float>(i);
          d = std::min(
              d, Sdf_Segment(x, y, 2.f, 2.f, 2.f + 26.f * std::cos(a), 2.f + 26.f * std::sin(a), 0.45f));
        }
        for (float r : {8.f, 14.f, 20.f}) {
          float rr = std::hypot(x - 2.f, y - 2.f);
          float a = std::atan2(y - 2.f, x - 2.f);
          if (a > 0.05f && a < 1.5f) d = std::min(d, std::fabs(rr - r - 1.2f * std::sin(a * 9.2f)) - 0.45f);
        }
        return d;
      },
      Rgb(236, 236, 230));
  return t;
}

Canvas Puddle() {
  Canvas t = New_Canvas(32, 32);
  Paint(
      t,
      [&](float x, float y) {
        return std::min({Sdf_Ellipse(x, y, 14.f, 17.f, 9.f, 6.f), Sdf_Ellipse(x, y, 20.f, 14.f, 6.f, 5.f),
                         Sdf_Circle(x, y, 9.f, 13.f, 3.5f)});
      },
      [&](float, float y, float d) {
        Color c = Mix(Rgb(70, 104, 130), Rgb(44, 66, 90), std::clamp((y - 10.f) / 14.f, 0.f, 1.f));
        if (d > -1.2f) c = Rgb(110, 140, 160);
        return c;
      });
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Segment(x, y, 11.f, 14.f, 17.f, 12.5f, 0.8f); },
      Rgb(210, 230, 240));
  return t;
}

Canvas Candle() {
  Canvas t = New_Canvas(32, 32);
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, CX, CY + 2.f, 6.f); },
      [&](float x, float y, float) { return Lit(Rgb(240, 230, 200), x, y, CX, CY, 6.f); });
  Paint(
      t, [&](float x, float y) { return Sdf_Ellipse(x, y, CX, CY - 3.f, 2.5f, 4.5f); },
      [&](float, float, float d) {
        return Mix(Rgb(255, 250, 200), theme::FLAME, std::clamp(1.f + d / 2.f, 0.f, 1.f));
      });
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Rug() {
  Canvas t = New_Canvas(32, 32);
  Paint(
      t, [&](float x, float y) { return Sdf_Box(x, y, CX, CY, 12.f, 9.f, 1.f); },
      [&](float x, float y, float d) {
        if (d > -2.f) return Rgb(200, 160, 70);
        float k = std::fabs(x - CX) / 10.f + std::fabs(y - CY) / 7.f;
        return std::fmod(k * 3.f, 1.f) < 0.5f ? Rgb(130, 40, 40) : Rgb(60, 70, 120);
      });
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Token_Item(float r) {
  Canvas t = New_Canvas(32, 32);
  Draw_Token(t, CX, CY, r, theme::GOLD, theme::GOLD_LIGHT, theme::GOLD_DARK);
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Key_Item(float cy) {
  Canvas t = New_Canvas(32, 32);
  Draw_Key(t, CX, cy, 25.f);
  Outline(t, theme::INK, 1.f);
  return t;
}

// A treasure: a large cut gem in a gold mount with a loop, in its owner's colour.
Canvas Amulet(int player) {
  Canvas t = New_Canvas(32, 32);
  Paint_Flat(
      t, [&](float x, float y) { return std::fabs(Sdf_Circle(x, y, CX, 5.f, 3.f)) - 1.f; }, theme::GOLD);
  Draw_Gem(t, CX, 17.f, 9.f, Player_Color(player), Player_Light(player), Player_Dark(player), true);
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Goblet() {
  Canvas t = New_Canvas(32, 32);
  std::vector<Point> cup = {{8, 6},   {24, 6},  {21, 16}, {17, 19}, {17, 24},
                            {22, 27}, {10, 27}, {15, 24}, {15, 19}, {11, 16}};
  Paint(
      t, [&](float x, float y) { return Sdf_Polygon(x, y, cup); },
      [&](float x, float y, float) { return Lit(theme::GOLD, x, y, CX, CY, 12.f, 0.4f); });
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Circle(x, y, CX, 11.f, 2.f); }, Rgb(40, 160, 80));
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Crown() {
  Canvas t = New_Canvas(32, 32);
  std::vector<Point> crown = {{5, 24}, {5, 10}, {11, 17}, {16, 7}, {21, 17}, {27, 10}, {27, 24}};
  Paint(
      t, [&](float x, float y) { return Sdf_Polygon(x, y, crown); },
      [&](float x, float y, float) { return Lit(theme::GOLD, x, y, CX, CY, 12.f, 0.4f); });
  for (float gx : {10.f, 16.f, 22.f})
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Circle(x, y, gx, 21.f, 1.8f); },
        gx == 16.f ? theme::P2 : theme::P1);
  Outline(t, theme::INK, 1.f);
  return t;
}

// A counter slot: a round socket pressed into the parchment.
Canvas Socket() {
  Canvas t = New_Canvas(32, 32);
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Circle(x, y, CX, CY, 13.5f); }, Rgb(120, 92, 58));
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, CX, CY, 12.5f); },
      [&](float x, float y, float) {
        // Lit from the upper left, so the socket's upper-left inside lies in shadow.
        float k = ((x - CX) + (y - CY)) / 25.f;
        return Shade(Rgb(176, 146, 102), std::clamp(0.85f + 0.5f * k, 0.55f, 1.15f));
      });
  return t;
}

}  // namespace

void Paint_Artifacts_2(ArtFile& art) {
  const char* bob = "BOB_artifacts2";
  for (int f = 0; f < Frame_Count(bob); ++f) {
    Canvas c;
    switch (f) {
      case ITEM_NONE:
        c = New_Frame(bob);
        break;  // an empty square
      case ITEM_COINS:
        c = Coin_Pile(1);
        break;
      case ITEM_TOKEN:
        c = Token_Item(10.5f);
        break;
      case ITEM_HOME_MARK:
        c = Home_Mark();
        break;
      case ITEM_KEY:
        c = Key_Item(CY);
        break;
      case ITEM_SOLID_OBJECT:
        c = Crate();
        break;
      case ITEM_COIN_HEAP:
        c = Coin_Pile(4);
        break;
      case ITEM_SCROLL:
        c = Scroll();
        break;
      case ITEM_BARREL:
        c = Barrel();
        break;
      case ITEM_SWORD:
        c = Sword();
        break;
      case ITEM_URN:
        c = Urn();
        break;
      case ITEM_BRAZIER:
        c = Brazier();
        break;
      case ITEM_MUSHROOMS:
        c = Mushrooms();
        break;
      case ITEM_COBWEB:
        c = Cobweb();
        break;
      case ITEM_PUDDLE:
        c = Puddle();
        break;
      case ITEM_CANDLE:
        c = Candle();
        break;
      case ITEM_RUG:
      default:
        c = Rug();
        break;
    }
    Put_Frame(art, bob, f, c);
  }
}

void Paint_Artifacts(ArtFile& art) {
  const char* bob = "BOB_artifacts";
  Put_Frame(art, bob, 0, Goblet());
  Put_Frame(art, bob, 1, Crown());
  Put_Frame(art, bob, 2, Token_Item(12.f));  // the actions label
  Put_Frame(art, bob, 3, Amulet(2));         // player 2's treasure
  // The keys label is drawn 7 pixels below its slots' row: its key sits 7 pixels higher to line up.
  Put_Frame(art, bob, 4, Key_Item(CY - 7.f));
  Put_Frame(art, bob, 5, Amulet(1));  // player 1's treasure
}

void Paint_Counters(ArtFile& art) {
  const char* bob = "BOB_counters";
  Put_Frame(art, bob, 0, Socket());
  for (int f = 1; f < 6; ++f) {
    Canvas c = Socket();
    switch (f) {
      case 1:
        Draw_Token(c, CX, CY, 10.f, theme::P2, theme::P2_LIGHT, theme::P2_DARK);
        break;
      case 3:
        Draw_Token(c, CX, CY, 10.f, theme::P1, theme::P1_LIGHT, theme::P1_DARK);
        break;
      case 2:
        Draw_Gem(c, CX, CY, 7.5f, theme::P2, theme::P2_LIGHT, theme::P2_DARK, true);
        break;
      case 5:
        Draw_Gem(c, CX, CY, 7.5f, theme::P1, theme::P1_LIGHT, theme::P1_DARK, true);
        break;
      default:
        Draw_Key(c, CX, CY, 21.f);
        break;
    }
    Put_Frame(art, bob, f, c);
  }
}

Canvas Figure(int player, int direction) {
  const Color cloak = Player_Color(player), light = Player_Light(player), dark = Player_Dark(player);
  const bool side = direction == 1 || direction == 2;
  Canvas t = New_Canvas(32, 32);
  auto cloth = [&](float x, float y, float) {
    float k = std::clamp((x - 8.f) / 18.f + (y - 14.f) / 40.f, 0.f, 1.f);
    return Mix(Mix(cloak, light, 0.35f), Mix(cloak, dark, 0.45f), k);
  };
  // Boots.
  if (side) {
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Ellipse(x, y, 13.f, 28.6f, 3.2f, 2.f); }, Rgb(60, 38, 24));
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Ellipse(x, y, 19.f, 28.2f, 3.2f, 2.f); }, Rgb(72, 46, 28));
  } else {
    for (float bx : {12.5f, 19.5f})
      Paint_Flat(
          t, [&](float x, float y) { return Sdf_Ellipse(x, y, bx, 28.5f, 2.7f, 2.1f); }, Rgb(66, 42, 26));
  }
  // Cloak: wider at the hem.
  std::vector<Point> body = side ? std::vector<Point>{{11, 16}, {21, 16}, {23, 28}, {9, 28}}
                                 : std::vector<Point>{{9.5f, 16}, {22.5f, 16}, {25, 28}, {7, 28}};
  Paint(
      t, [&](float x, float y) { return Sdf_Polygon(x, y, body) - 1.f; }, cloth);
  if (direction != 0) {
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 22.5f, side ? 6.f : 8.f, 1.f); }, theme::GOLD);
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Box(x, y, side ? 16.f : 16.f, 22.5f, 1.3f, 1.4f); },
        theme::GOLD_LIGHT);
  } else {
    // Seen from behind: the cloak's fold.
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Segment(x, y, 16.f, 18.f, 16.f, 27.f, 0.5f); }, dark);
  }
  // Hands and the torch, held on the leading side.
  float hx = direction == 1 ? 23.5f : (direction == 2 ? 8.5f : (direction == 3 ? 25.f : 7.f));
  float hy = side ? 21.f : 21.5f;
  float other = direction == 3 ? 7.f : (direction == 0 ? 25.f : 0.f);
  Paint_Flat(
      t,
      [&](float x, float y) {
        return Sdf_Segment(x, y, hx, hy, hx + (direction == 2 ? -1.5f : 1.5f), hy - 9.f, 1.1f);
      },
      Rgb(96, 58, 30));
  Paint(
      t,
      [&](float x, float y) {
        return Sdf_Ellipse(x, y, hx + (direction == 2 ? -1.7f : 1.7f), hy - 11.f, 2.4f, 3.4f);
      },
      [&](float, float, float d) {
        return Mix(Rgb(255, 248, 190), theme::FLAME, std::clamp(1.f + d / 2.f, 0.f, 1.f));
      });
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Circle(x, y, hx, hy, 2.2f); }, theme::SKIN);
  if (other > 0.f)
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Circle(x, y, other, hy, 2.2f); }, theme::SKIN);
  // Head: hood and face.
  const float hcx = side ? 15.5f : 16.f, hcy = 10.5f;
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, hcx, hcy, 8.f); }, cloth);
  if (direction == 3) {
    Paint(
        t, [&](float x, float y) { return Sdf_Ellipse(x, y, 16.f, 11.8f, 5.4f, 5.f); },
        [&](float x, float y, float) { return Lit(theme::SKIN, x, y, 16.f, 11.f, 5.f, 0.2f); });
    for (float ex : {13.9f, 18.1f})
      Paint_Flat(
          t, [&](float x, float y) { return Sdf_Ellipse(x, y, ex, 11.6f, 0.9f, 1.3f); }, theme::INK);
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Segment(x, y, 14.8f, 14.6f, 17.2f, 14.6f, 0.45f); },
        Rgb(150, 70, 50));
  } else if (side) {
    float dir = direction == 1 ? 1.f : -1.f;
    float fx0 = hcx + dir * 3.6f;
    Paint(
        t, [&](float x, float y) { return Sdf_Ellipse(x, y, fx0, 11.6f, 3.6f, 4.8f); },
        [&](float x, float y, float) { return Lit(theme::SKIN, x, y, fx0, 11.f, 4.f, 0.2f); });
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Circle(x, y, fx0 + dir * 3.8f, 12.6f, 1.1f); },
        theme::SKIN);  // nose
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Ellipse(x, y, fx0 + dir * 1.4f, 11.f, 0.9f, 1.3f); },
        theme::INK);
  } else {
    // From behind: the hood's peak and seam.
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Segment(x, y, 16.f, 4.f, 16.f, 16.f, 0.6f); }, dark);
    Paint_Flat(
        t, [&](float x, float y) { return std::fabs(Sdf_Circle(x, y, 16.f, 10.5f, 5.5f)) - 0.5f; },
        Mix(cloak, light, 0.5f));
  }
  Outline(t, theme::INK, 1.f);
  return t;
}

void Paint_Player_1(ArtFile& art) {
  for (int d = 0; d < 4; ++d) Put_Frame(art, "BOB_player1", d, Figure(1, d));
}

void Paint_Player_2(ArtFile& art) {
  for (int d = 0; d < 4; ++d) Put_Frame(art, "BOB_player2", d, Figure(2, d));
}

void Paint_Mouse(ArtFile& art) {
  // A gloved hand pointing up and to the left; its fingertip is the picture's top-left pixel, the
  // point the pointer's position names. Shapes are laid out along the finger, turned 30 degrees.
  const float ang = 0.52f, cs = std::cos(ang), sn = std::sin(ang);
  const float ox = 2.f, oy = 2.f;  // the fingertip's round end
  auto local = [&](float x, float y, float& u, float& v) {
    float dx = x - ox, dy = y - oy;
    u = dx * cs - dy * sn;
    v = dx * sn + dy * cs;
  };
  auto hand = [&](float x, float y) {
    float u, v;
    local(x, y, u, v);
    float d = Sdf_Segment(u, v, 0.f, 0.f, 0.f, 10.f, 2.2f);        // index finger
    d = std::min(d, Sdf_Box(u, v, 4.6f, 16.f, 6.2f, 5.6f, 2.5f));  // palm
    d = std::min(d, Sdf_Circle(u, v, 3.6f, 10.8f, 2.1f));          // curled fingers
    d = std::min(d, Sdf_Circle(u, v, 7.2f, 11.3f, 2.1f));
    d = std::min(d, Sdf_Circle(u, v, 10.f, 12.6f, 1.9f));
    d = std::min(d, Sdf_Segment(u, v, -3.2f, 13.8f, -1.f, 18.f, 1.9f));  // thumb
    return d;
  };
  Canvas t = New_Frame("BOB_mouse");
  Paint(t, hand, [&](float x, float y, float) {
    float u, v;
    local(x, y, u, v);
    return Mix(Rgb(255, 252, 240), Rgb(206, 196, 176), std::clamp((u + 3.f) / 14.f, 0.f, 1.f));
  });
  // Creases between the curled fingers.
  Paint_Flat(
      t,
      [&](float x, float y) {
        float u, v;
        local(x, y, u, v);
        return std::min(Sdf_Segment(u, v, 5.4f, 10.f, 5.4f, 12.6f, 0.4f),
                        Sdf_Segment(u, v, 8.7f, 10.6f, 8.7f, 13.3f, 0.4f));
      },
      Rgb(150, 140, 125));
  // A gold cuff at the wrist.
  Paint(
      t,
      [&](float x, float y) {
        float u, v;
        local(x, y, u, v);
        return Sdf_Box(u, v, 4.8f, 23.f, 6.6f, 2.2f, 1.f);
      },
      [&](float x, float y, float) {
        float u, v;
        local(x, y, u, v);
        return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, std::clamp((u + 2.f) / 14.f, 0.f, 1.f));
      });
  Outline(t, theme::INK, 1.f);
  Put_Frame(art, "BOB_mouse", 0, t);
}

void Paint_End_Turn(ArtFile& art) {
  const char* bob = "BOB_end_turn";
  for (int f = 0; f < 2; ++f) {
    bool pressed = f == 1;
    Canvas c = New_Frame(bob);
    float o = pressed ? 1.f : 0.f;
    Paint_Flat(
        c, [&](float x, float y) { return Sdf_Box(x, y, 48.f, 24.5f, 46.f, 21.f, 11.f); }, theme::INK);
    Draw_Plate(c, 3.f + o, 4.5f + o, 90.f - o, 39.f - o, 10.f, 3.5f,
               pressed ? Rgb(200, 176, 128) : Rgb(246, 230, 186),
               pressed ? Rgb(170, 140, 96) : Rgb(214, 186, 132), pressed);
    LabelStyle s;
    s.fill = theme::INK;
    s.fill_bottom = Rgb(70, 40, 20);
    Draw_Label(c, "END TURN", 48.f + o, 24.5f + o, 70, 17, true, s);
    Put_Frame(art, bob, f, c);
  }
}

Canvas Comfort_Mark(int frame) {
  Canvas c = New_Canvas(32, 32);
  const Color reach = Rgb(120, 255, 150), reach_dark = Rgb(10, 70, 30);
  // A rounded square ring about (mid, mid) of half size `half`, `width` either side of its line, dark
  // in its outer `edge` pixels.
  const auto Ring = [&c](float mid, float half, float radius, float width, float edge, Color dark, Color light) {
    Paint(
        c, [&](float x, float y) { return std::fabs(Sdf_Box(x, y, mid, mid, half, half, radius)) - width; },
        [&](float, float, float d) { return d > -edge ? dark : light; });
  };
  switch (frame) {
    case 0:
    case 1: {
      // A pawn: the player's figure facing down, small, on a dark ring so it reads on any block.
      const int player = frame == 0 ? 1 : 2;
      const float cx = frame == 0 ? 23.5f : 8.5f, cy = 23.5f;
      Paint_Flat(
          c, [&](float x, float y) { return Sdf_Circle(x, y, cx, cy, 7.6f); }, With_Alpha(theme::INK, 0.85f));
      Paint_Flat(
          c, [&](float x, float y) { return std::fabs(Sdf_Circle(x, y, cx, cy, 6.8f)) - 0.8f; },
          Player_Light(player));
      Canvas fig = Resample(Figure(player, 3), 14, 14);
      Composite(c, fig, static_cast<int>(cx) - 7, static_cast<int>(cy) - 7);
      break;
    }
    case 2:  // in the top left corner
      Draw_Key(c, 8.f, 8.f, 13.f);
      break;
    case 3:
      Paint_Flat(
          c, [&](float x, float y) { return Sdf_Circle(x, y, 8.f, 8.f, 6.5f); }, theme::INK);
      Draw_Token(c, 8.f, 8.f, 5.6f, theme::GOLD, theme::GOLD_LIGHT, theme::GOLD_DARK);
      break;
    case 4: {
      // A padlock in the top right corner: shackle, then the body with its keyhole.
      const float px = 25.f, py = 8.f;
      Paint_Flat(
          c, [&](float x, float y) { return Sdf_Box(x, y, px, py + 1.f, 6.f, 6.5f, 2.f); }, theme::INK);
      Paint_Flat(
          c,
          [&](float x, float y) {
            return std::max(std::fabs(Sdf_Circle(x, y, px, py - 1.5f, 3.f)) - 0.9f, y - py);
          },
          Rgb(200, 200, 208));
      Paint(
          c, [&](float x, float y) { return Sdf_Box(x, y, px, py + 2.5f, 4.6f, 3.6f, 1.f); },
          [&](float, float y, float) { return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, (y - py) / 7.f); });
      Paint_Flat(
          c, [&](float x, float y) { return Sdf_Circle(x, y, px, py + 2.f, 1.1f); }, theme::INK);
      break;
    }
    case 5:  // the shown block: a gold frame along the cell's edge between two dark lines
      Ring(16.f, 14.5f, 3.f, 2.5f, 1.f, theme::INK, theme::GOLD_LIGHT);
      break;
    case 6:
    case 7: {
      // The cell under the pointer: four corner brackets in the colour of the player to move.
      const Color col = Player_Light(frame == 6 ? 1 : 2);
      auto brackets = [](float x, float y) {
        float d = 1e9f;
        for (float sx : {-1.f, 1.f})
          for (float sy : {-1.f, 1.f}) {
            const float ex = 16.f + sx * 12.5f, ey = 16.f + sy * 12.5f;
            d = std::min(d, Sdf_Segment(x, y, ex, ey, ex - sx * 7.f, ey, 1.2f));
            d = std::min(d, Sdf_Segment(x, y, ex, ey, ex, ey - sy * 7.f, 1.2f));
          }
        return d;
      };
      Paint_Flat(
          c, [&](float x, float y) { return brackets(x, y) - 1.f; }, theme::INK);
      Paint_Flat(c, brackets, col);
      break;
    }
    case 8:
      // A block with squares in reach: a green dot at the middle of the top edge.
      Paint_Flat(
          c, [&](float x, float y) { return Sdf_Circle(x, y, 16.f, 5.5f, 4.2f); }, reach_dark);
      Paint(
          c, [&](float x, float y) { return Sdf_Circle(x, y, 16.f, 5.5f, 3.f); },
          [&](float x, float y, float) {
            return Mix(Rgb(220, 255, 225), reach, std::clamp((x + y - 18.5f) / 6.f, 0.f, 1.f));
          });
      break;
    default:  // a square in reach: a green ring inside the square's edge, open in the middle
      Ring(15.5f, 12.f, 4.f, 1.6f, 0.6f, reach_dark, reach);
      break;
  }
  return c;
}
