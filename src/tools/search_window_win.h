// 搜索窗口: sets up and runs the content search and acts on the files it finds.
#pragma once

#include <windows.h>

#include "catalogue/catalogue_context.h"
#include "platform/handles_win.h"
#include "platform/secondary_window_win.h"
#include "tools/search_engine.h"
#include "tools/search_results.h"
#include "tools/search_system_win.h"

namespace velkor {

enum SearchControl : int {
  kIdSearchDir = 100,   // 编辑框_目录路径
  kIdBrowse,            // 按钮_目录
  kIdOptionsFrame,      // 外形框1
  kIdTextMode,          // 单选框_文本
  kIdHexMode,           // 单选框_16进制
  kIdSubdirs,           // 选择框_含子目录
  kIdThreadsLabel,      // 标签7
  kIdThreads,           // 组合框_最大线程组
  kIdChunkLabel,        // 标签_单线内存
  kIdChunk,             // 组合框_单线内存
  kIdPatternFrame,      // 外形框2
  kIdTextLabel,         // 标签5
  kIdTextPattern,       // 文本查找框
  kIdHexLabel,          // 标签6
  kIdHexPattern,        // 进制查找框
  kIdFind,              // 按钮_查找
  kIdStop,              // 按钮_停止
  kIdResults,           // 超级列表框_结果列表
  kIdStatus,            // 状态条1
  kIdTab,               // 高级选择夹1
  kIdMultiEncoding,     // 选择框_多种编码
  kIdOpenResult = 200,  // 右键菜单 items
  kIdEditResult,
  kIdExploreResult,
};

inline constexpr wchar_t kSearchWindowClass[] = L"VelkorSearchWindow";
inline constexpr COLORREF kDisabledPatternColor = RGB(236, 236, 236);

// The result list's pop-up menu "右键菜单", built anew for each showing.
UniqueMenu BuildResultMenu();

class SearchWindow : public SecondaryWindow, private SearchView {
 public:
  explicit SearchWindow(CatalogueContext& context);

 protected:
  void OnCreated() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool CanClose() override;

 private:
  // SearchView
  void SetSearching(bool searching) override;
  void ClearResults() override;
  void AddResults(const std::vector<std::string>& rows) override;
  void SetStatus(int part, const std::string& text) override;

  void FitStatusParts();
  void StartSearch();
  void SetPatternMode(bool text);
  void BrowseForDirectory();
  void PopUpResultMenu();
  void ActOnSelection(ResultAction action, bool needsRow);
  bool OnColor(HWND control, HDC dc, LRESULT& result) const;

  CatalogueContext& context_;
  Win32SearchSystem system_;
  SearchEngine engine_;
  bool textMode_ = true;
  bool closeAfterSearch_ = false;
  UniqueBrush whiteBrush_;
  UniqueBrush greyBrush_;
};

}  // namespace velkor
