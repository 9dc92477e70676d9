// Edits that constrain what is typed: masked edits, date edits and number edits.
//
// MaskEdit applies an edit mask (see edit_mask.h): each typed character must fit the next
// slot (a refused character leaves the text as it was), letters may be forced to upper case,
// and a typed literal is taken where the picture has it. text() is the edit text with its
// literals; value() the text to store (without literals when the mask says so).
//
// DateEdit takes dd/mm/yyyy; its date is 0 while the text is empty or not a date, and
// checkValidDate() refuses a text that is not a date with a Portuguese message. It keeps no
// time of day. A valid date is drawn in its own colour (blue unless set), so the user sees at a
// glance that what was typed is a date.
//
// NumberEdit takes digits, one decimal comma (a typed dot counts as the comma) and a leading
// minus sign; when it is left, and when a value is set by code, it shows the number with its
// decimals and, if asked, thousands separators. An empty text reads as 0.
#pragma once

#include <string>
#include <vector>

#include "host/ui/edit.h"
#include "host/ui/edit_mask.h"

namespace ui {

class MaskEdit : public Edit {
 public:
  MaskEdit(Control* parent, std::string name);

  const std::string& editMask() const { return maskText_; }
  void setEditMask(std::string mask);
  // The text to store: without literals when the mask says so.
  std::string value() const;

 protected:
  std::optional<std::string> typed(const std::string& current, bool replaceAll,
                                   char32_t ch) const override;
  std::string erased(const std::string& current, bool all) const override;

 private:
  std::string slotCharacters(const std::string& editText) const;

  std::string maskText_;
  EditMask mask_;
  EditMask slotsOnly_;
};

class DateEdit : public MaskEdit {
 public:
  DateEdit(Control* parent, std::string name);

  // The day count of the text (no time of day), or 0 when the text is empty or not a date.
  double date() const;
  // Shows the date; 0 empties the edit.
  void setDate(double date);
  bool isEmpty() const;
  // Throws UiError("'<text>' não é uma data válida.") when the text is not empty and not a date.
  void checkValidDate() const;
  // Colour name of the text while it holds a valid date; empty: the usual colour.
  const std::string& validDateColor() const { return validDateColor_; }
  void setValidDateColor(std::string color);
  // The colour the text is drawn in now: validDateColor() while the text is a date, else empty.
  std::string textColor() const;
  // Weekday names of the drop-down calendar, Sunday first.
  const std::vector<std::string>& weekdayNames() const { return weekdayNames_; }
  void setWeekdayNames(std::vector<std::string> names) { weekdayNames_ = std::move(names); }

 private:
  std::vector<std::string> weekdayNames_;
  std::string validDateColor_ = "clBlue";
};

class NumberEdit : public Edit {
 public:
  NumberEdit(Control* parent, std::string name);

  int decimals() const { return decimals_; }
  void setDecimals(int decimals) { decimals_ = decimals; }
  bool thousands() const { return thousands_; }
  void setThousands(bool thousands) { thousands_ = thousands; }
  // The number shown, 0 when empty; throws UiError when the text is not a number.
  double value() const;
  void setValue(double value);

  void doExit() override;

 protected:
  std::optional<std::string> typed(const std::string& current, bool replaceAll,
                                   char32_t ch) const override;

 private:
  std::string pattern() const;

  int decimals_ = 2;
  bool thousands_ = true;
};

}  // namespace ui
