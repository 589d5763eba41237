#pragma once
// "Send Search Result to...": the Seeker's result rows appended to the list
// of the Attribute Changer, DateTime Changer, Duplicate Finder, Hash
// generator or Protector, after which that tool's page is shown.

class QAction;
class TfrmKorvala;
class TSeekerPage;

// SendList: sender is one of the submenu's entries (its "Tag" property is
// 0, 1, 2, 6 or 8). Every row, selected or not, top to bottom, is appended
// unless the target list holds it already; the window goes on painting and
// taking input while a long transfer runs.
void SendList(TfrmKorvala& window, TSeekerPage& seeker, const QAction& sender);
