// Texts the launcher shows the player.
#pragma once

#include "framework/Prelude.h"

// Title of the main window and of the game window, and caption of both closing questions.
constexpr LPCWSTR kLauncherTitle = L"蓝柚川登陆器";
// Asked by the main window's close button, before any game runs.
constexpr LPCWSTR kAskQuitStarting = L"游戏启动中，是否退出？";
// Asked by the game window's close button.
constexpr LPCWSTR kAskQuitRunning = L"游戏正在运行中，是否退出？";
