#include "shell/state_dump.h"

#include <fstream>
#include <nlohmann/json.hpp>

#include "game/model.h"
#include "platform/platform.h"
#include "screens/front/front.h"
#include "screens/play/comforts.h"
#include "shell/computer.h"
#include "shell/help_overlay.h"
#include "common/shell_state.h"

using nlohmann::json;

namespace {

json Grid_Json(const MazeBlock& b, bool blocked) {
  json cols = json::array();
  for (int x = 0; x < 8; ++x) {
    json col = json::array();
    for (int y = 0; y < 8; ++y) col.push_back(blocked ? json(b.squares[x][y].blocked) : json(b.squares[x][y].content));
    cols.push_back(col);
  }
  return cols;
}

json Block_Json(const MazeBlock& b) {
  return json{{"number", b.number},
              {"type", b.type},
              {"exit_north", b.exit_north},
              {"exit_east", b.exit_east},
              {"exit_south", b.exit_south},
              {"exit_west", b.exit_west},
              {"special_placed", b.special_placed},
              {"locked", b.locked},
              {"home", b.home},
              {"treasure_p1", b.treasure_p1},
              {"treasure_p2", b.treasure_p2},
              {"has_token", b.has_token},
              {"has_key", b.has_key},
              {"blocked", Grid_Json(b, true)},
              {"content", Grid_Json(b, false)}};
}

json Player_Json(const PlayerState& p) {
  return json{{"winner", p.winner},       {"treasures", p.treasures}, {"turns", p.turns},
              {"items", p.items},         {"block_x", p.block_x},     {"block_y", p.block_y},
              {"square_x", p.square_x},   {"square_y", p.square_y},   {"block_number", p.block_number},
              {"actions", p.actions},     {"keys", p.keys},           {"facing", p.sprite.current_frame}};
}

}  // namespace

std::string Game_State_Json() {
  json board_json = json::array();
  for (int x = 0; x < 8; ++x) {
    json col = json::array();
    for (int y = 0; y < 8; ++y) col.push_back(Block_Json(board.blocks[x][y]));
    board_json.push_back(col);
  }
  json state{{"game_state", game_state},
             {"current_player", current_player},
             {"item_density", item_density},
             {"new_game_pending", new_game_pending},
             {"computer_player", Computer_Player()},
             {"computer_level", Computer_Level_Name(Computer_Level())},
             {"escape_latch", escape_latch},
             {"help_open", Help_Is_Open()},
             {"leave_question", Leave_Question_Open()},
             {"players", {{"1", Player_Json(player1)}, {"2", Player_Json(player2)}}},
             {"board", board_json},
             {"current_block", Block_Json(current_block)},
             {"menu",
              {{"menu_open", menu_open},
               {"options_open", options_open},
               {"menu_panel_w", menu_panel_w},
               {"menu_panel_h", menu_panel_h},
               {"menu_origin_x", menu_origin_x},
               {"menu_origin_y", menu_origin_y}}}};
  return state.dump(1) + "\n";
}

int Write_Game_State(const char* path) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) return 0;
  f << Game_State_Json();
  f.close();
  return f ? 1 : 0;
}

int Write_Screenshot(const char* path) {
  const std::vector<uint16_t>& frame = Platform_Last_Frame();
  std::vector<uint8_t> rgb(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT * 3, 0);
  if (frame.size() == static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT) {
    for (size_t i = 0; i < frame.size(); ++i) {
      const uint16_t p = frame[i];
      const uint8_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
      rgb[i * 3 + 0] = static_cast<uint8_t>((r << 3) | (r >> 2));
      rgb[i * 3 + 1] = static_cast<uint8_t>((g << 2) | (g >> 4));
      rgb[i * 3 + 2] = static_cast<uint8_t>((b << 3) | (b >> 2));
    }
  }
  return Platform_Write_PNG(path, rgb.data(), SCREEN_WIDTH, SCREEN_HEIGHT);
}
