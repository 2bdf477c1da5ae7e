// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program's texts, and those Qt draws itself (a field's context menu,
// "Ctrl+Q" in a menu), in the user's language.
namespace Translations {

// Installs the translations for the first of the user's languages
// (UserLocale::messageLanguages) that Tallyglow has texts in, in place of
// those installed before; windows and menus made from then on use them. None
// for English, C, or languages Tallyglow has no texts in: the texts written
// in the code are the English ones. Returns the language used, e.g. "de" or
// "pt_BR"; empty for English.
QString useUserLanguage();

} // namespace Translations
