#pragma once
// What a modal dialog ends with, as exec() and result() give it back: OK is 1
// and Cancel 2, whichever way the dialog was left. Dialogs take the names into
// their own scope with "using enum util::ModalResult;".
namespace util {

enum ModalResult : int { mrOk = 1, mrCancel = 2 };

} // namespace util
