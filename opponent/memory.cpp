#include "opponent/memory.h"

namespace {

uint64_t Mix(uint64_t h, uint64_t v) { return (h ^ v) * 0x100000001B3ull; }

uint64_t Player_Key(uint64_t h, const PlayerState& p) {
  return Mix(Mix(h, static_cast<uint64_t>(p.treasures)), static_cast<uint64_t>(p.keys));
}

}  // namespace

uint64_t Layout_Key(const Sim& s) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (const auto& column : s.board.blocks)
    for (const MazeBlock& b : column) {
      const uint64_t flags = static_cast<uint64_t>(b.locked) | static_cast<uint64_t>(b.has_token) << 1 |
                             static_cast<uint64_t>(b.has_key) << 2 |
                             static_cast<uint64_t>(b.treasure_p1) << 3 |
                             static_cast<uint64_t>(b.treasure_p2) << 4;
      h = Mix(h, static_cast<uint64_t>(static_cast<uint32_t>(b.number)) << 16 |
                     static_cast<uint64_t>(static_cast<uint32_t>(b.type)) << 8 | flags);
    }
  return Player_Key(Player_Key(h, s.p1), s.p2);
}

void PositionMemory::Record(uint64_t key, int32_t turn) {
  for (const Seen& s : seen_)
    if (s.key == key && s.turn == turn) return;
  seen_.push_back(Seen{key, turn});
}

int PositionMemory::Times_Seen(uint64_t key, int32_t turn) const {
  int times = 0;
  for (const Seen& s : seen_) times += s.key == key && s.turn < turn;
  return times;
}
