// The planner's copy of a game, the moves carried out on it, and the scoring of a position.
#include "opponent/simulate.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "game/fields.h"

namespace {

// What a 'z' cell can become: open and empty, an object that stays open, or a solid object.
bool Drawn_Square(const Square& s) {
  if (s.content == CONTENT_EMPTY) return s.blocked == 0;
  if (s.content < OBJECT_FIRST || s.content > OBJECT_LAST) return false;
  return s.blocked == (Is_Solid_Object(s.content) ? 1 : 0);
}

// The boards agree square by square; with `drawn`, a square `a` left unknown after a rotation (a 'z'
// cell of its type taken as blocked) may hold in `b` whatever the real rotation drew.
bool Same_Board(const Board& a, const Board& b, bool drawn = false) {
  for (int bx = 0; bx < 8; ++bx) {
    for (int by = 0; by < 8; ++by) {
      const MazeBlock& x = a.blocks[bx][by];
      const MazeBlock& y = b.blocks[bx][by];
      if (!Same_Block_Fields(x, y)) return false;
      for (int sx = 0; sx < 8; ++sx)
        for (int sy = 0; sy < 8; ++sy) {
          const Square &p = x.squares[sx][sy], &q = y.squares[sx][sy];
          if (p.blocked == q.blocked && p.content == q.content) continue;
          if (drawn && p.blocked == 1 && p.content == CONTENT_EMPTY &&
              Template_Square_Random(x.type, sx, sy) && Drawn_Square(q))
            continue;
          return false;
        }
    }
  }
  return true;
}

}  // namespace

Sim::Sim(const PlanPosition& p) : board(p.board), p1(p.player1), p2(p.player2), current(p.current_player) {
  // The playing screen refreshes the block numbers every frame; a capture between frames has them.
  Refresh_Block_Numbers(board, p1, p2);
}

void Frame(Sim& s) { Frame_After_Input(s.board, s.View()); }

bool Same_Position(const Sim& s, const PlanPosition& p) {
  return s.current == p.current_player && Same_Player_Fields(s.p1, p.player1) &&
         Same_Player_Fields(s.p2, p.player2) && Same_Board(s.board, p.board);
}

bool As_Predicted(const Sim& s, const PlanPosition& p) {
  return s.current == p.current_player && Same_Player_Fields(s.p1, p.player1) &&
         Same_Player_Fields(s.p2, p.player2) && Same_Board(s.board, p.board, true);
}

bool Same_Position(const Sim& a, const Sim& b) {
  return a.current == b.current && Same_Player_Fields(a.p1, b.p1) && Same_Player_Fields(a.p2, b.p2) &&
         Same_Board(a.board, b.board);
}

ComputerMove Walk_Move(int square) {
  ComputerMove m;
  m.kind = MOVE_WALK;
  m.block_x = Reach_Block_X(square);
  m.block_y = Reach_Block_Y(square);
  m.square_x = Reach_Square_X(square);
  m.square_y = Reach_Square_Y(square);
  return m;
}

ComputerMove Shift_Move(bool column, int32_t line, uint8_t direction) {
  ComputerMove m;
  m.kind = MOVE_SHIFT;
  m.column = column;
  m.line = line;
  m.direction = direction;
  return m;
}

ComputerMove Rotate_Move(int32_t bx, int32_t by) {
  ComputerMove m;
  m.kind = MOVE_ROTATE;
  m.block_x = bx;
  m.block_y = by;
  return m;
}

ComputerMove End_Turn_Move() { return ComputerMove{}; }

bool Move_Allowed(const Sim& s, const ComputerMove& m) {
  if (s.current > 1 || s.Over()) return false;
  const PlayerState& p = s.Mover();
  switch (m.kind) {
    case MOVE_END_TURN:
      return true;
    case MOVE_SHIFT:
      return p.actions > 0 && m.line >= 1 && m.line <= 8 && m.direction <= 1;
    case MOVE_ROTATE: {
      if (p.actions <= 0 || m.block_x < 0 || m.block_x > 7 || m.block_y < 0 || m.block_y > 7) return false;
      return Block_Turns(s.board.blocks[m.block_x][m.block_y]);
    }
    case MOVE_WALK: {
      std::vector<int32_t> steps;
      return Stands_On_Board(p) &&
             Walk_Steps(s.board, p, s.Mover_Is_P1(), m.block_x, m.block_y, m.square_x, m.square_y, steps) &&
             !steps.empty();
    }
  }
  return false;
}

bool Carry_Out(Sim& s, const ComputerMove& m, std::vector<int32_t>& steps) {
  if (m.kind != MOVE_WALK && !Move_Allowed(s, m)) return false;
  switch (m.kind) {
    case MOVE_WALK:
      if (s.current > 1 || s.Over() || !Stands_On_Board(s.Mover()) ||
          !Walk_Steps(s.board, s.Mover(), s.Mover_Is_P1(), m.block_x, m.block_y, m.square_x, m.square_y,
                      steps) ||
          steps.empty())
        return false;
      for (const int32_t d : steps) {
        Move_Player_To_Move(d, s.board, s.View());
        Frame(s);
        if (s.Over()) break;
      }
      return true;
    case MOVE_SHIFT:
      Paid_Shift(m.column, m.line, m.direction, s.board, s.View());
      Frame(s);
      return true;
    case MOVE_ROTATE:
      Paid_Rotate(m.block_x, m.block_y, s.board, s.View(), Load_Template_Cached);
      Frame(s);
      return true;
    case MOVE_END_TURN: {
      MazeBlock shown = s.board.blocks[0][0];
      End_Turn(s.board, s.View(), shown);
      Frame(s);
      return true;
    }
  }
  return false;
}
