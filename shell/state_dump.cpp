#include "shell/state_dump.h"

#include <nlohmann/json.hpp>

#include "common/shell_state.h"
#include "game/model.h"
#include "platform/platform.h"
#include "save/saved_game.h"
#include "screens/front/front.h"
#include "screens/play/comforts.h"
#include "shell/computer.h"
#include "shell/help_overlay.h"

using nlohmann::json;

std::string Game_State_Json() {
  const SavedGame game = Capture_Game();
  json state{{"game_state", game_state},
             {"current_player", current_player},
             {"item_density", item_density},
             {"new_game_pending", new_game_pending},
             {"computer_player", Computer_Player()},
             {"computer_level", Computer_Level_Name(Computer_Level())},
             {"escape_latch", escape_latch},
             {"help_open", Help_Is_Open()},
             {"leave_question", Leave_Question_Open()},
             {"players", {{"1", Saved_Player_Json(game.player1)}, {"2", Saved_Player_Json(game.player2)}}},
             {"board", Saved_Board_Json(game)},
             {"current_block", Saved_Block_Json(game.current_block)},
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
  std::string error;
  return Platform_Write_File_Atomic(path, Game_State_Json(), &error);
}

int Write_Screenshot(const char* path, std::string* error) {
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
  return Platform_Write_PNG(path, rgb.data(), SCREEN_WIDTH, SCREEN_HEIGHT, error);
}
