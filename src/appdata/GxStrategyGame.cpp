#include "appdata/GxStrategyGame.h"

namespace
{
GxStrategyGame* s_Game = nullptr;
}

GxStrategyGame* GxStrategyGame::Find()
{
    return s_Game;
}

GxStrategyGame* GxStrategyGame::Running()
{
    return s_Game && s_Game->IsRunning() ? s_Game : nullptr;
}

void GxStrategyGame::Register(GxStrategyGame* game)
{
    s_Game = game;
}
