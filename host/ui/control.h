// Control: a visible element of a form, and the container of other controls.
//
// Controls form a tree under their form; each control owns its children. A control has bounds
// and an alignment (aligned children are laid out by their container, top and bottom first,
// then left and right, then the one that fills the rest), a caption, visibility, enabling, a
// tab order, a hint and simple appearance properties. Whether a control can take the focus,
// and whether it is really showing or usable, depends on its containers: a control inside a
// hidden or disabled container, or on a tab sheet that is not its page control's active page,
// is neither showing nor usable.
//
// User events reach a control through the application's event dispatcher (see
// application.h); a control's events are plain assignable callbacks.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ui/component.h"
#include "host/ui/keys.h"

namespace ui {

class Form;

enum class Align { None, Top, Bottom, Left, Right, Client };

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Rect&) const = default;
};

class Control : public Component {
 public:
  // A control is created by its parent (`parent.add<T>(name, ...)`); only a form has no parent.
  Control(Control* parent, std::string name);
  ~Control() override;

  // --- tree ---
  Control* parent() const { return parent_; }
  Form* form() const { return form_; }
  const std::vector<Control*>& children() const { return childView_; }
  // True when `other` is this control or lies inside it.
  bool contains(const Control* other) const;

  template <class T, class... Args>
  T* add(std::string name, Args&&... args) {
    auto child = std::make_unique<T>(this, std::move(name), std::forward<Args>(args)...);
    T* raw = child.get();
    adopt(std::move(child));
    return raw;
  }

  // Destroys a child (the grid drops a column's editor, a form drops a page): rarely needed.
  void removeChild(Control* child);

  // --- geometry ---
  const Rect& bounds() const { return bounds_; }
  void setBounds(int left, int top, int width, int height);
  void setLeft(int left) { setBounds(left, bounds_.top, bounds_.width, bounds_.height); }
  void setTop(int top) { setBounds(bounds_.left, top, bounds_.width, bounds_.height); }
  void setWidth(int width) { setBounds(bounds_.left, bounds_.top, width, bounds_.height); }
  void setHeight(int height) { setBounds(bounds_.left, bounds_.top, bounds_.width, height); }
  Align align() const { return align_; }
  void setAlign(Align align);
  // The area children are laid out in, in this control's coordinates (borders and bevels
  // excluded).
  virtual Rect clientArea() const;

  // --- appearance ---
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  const std::string& hint() const { return hint_; }
  void setHint(std::string hint);
  bool showHint() const { return showHint_; }
  void setShowHint(bool show);
  bool bold() const { return bold_; }
  void setBold(bool bold);
  // Colour names as the forms use them ("clInfoBk", "clBtnFace", "clWindow"); empty = default.
  const std::string& color() const { return color_; }
  void setColor(std::string color);

  // --- keyboard navigation ---
  bool tabStop() const { return tabStop_; }
  void setTabStop(bool tabStop);
  int tabOrder() const { return tabOrder_; }
  void setTabOrder(int order);

  // --- effective state ---
  // Visible here and in every container up to a shown form; a tab sheet counts only while it
  // is its page control's active page.
  bool showing() const;
  // Enabled here and in every container.
  bool usable() const;
  // Whether this kind of control takes the keyboard focus at all (edits, lists, grids, page
  // controls, panels; never labels, speed buttons or images).
  virtual bool acceptsFocus() const { return false; }
  bool canFocus() const { return acceptsFocus() && showing() && usable(); }
  // True when this control is its form's active control and its form is the active form.
  bool focused() const;
  // Moves the focus here, firing the exit and enter events (see Form::focusControl).
  // Throws UiError when the control cannot take the focus.
  void setFocus();

  // --- events (plain callbacks; assign nullptr to detach) ---
  std::function<void(Control&)> onEnter;
  std::function<void(Control&)> onExit;
  std::function<void(Control&)> onClick;
  std::function<void(Control&)> onDblClick;
  std::function<void(Control&, Key& key, ShiftState shift)> onKeyDown;
  std::function<void(Control&, char32_t& ch)> onKeyPress;

  // --- behaviour run by the form and the dispatcher; controls override the defaults ---
  virtual void doEnter();
  // Runs when the focus leaves; data-aware controls write their pending text first.
  virtual void doExit();
  // After the key handlers: navigation and editing keys of the control.
  virtual void keyDownDefault(Key& /*key*/, ShiftState /*shift*/) {}
  // After the key-press handlers: the character typed into the control.
  virtual void keyPressDefault(char32_t& /*ch*/) {}
  // What a click does besides the click event (a radio button checks itself).
  virtual void clickDefault() {}

  // Lays out aligned children inside the client area.
  void realign();

  // Whether a child of this control is shown when both are visible (a page control shows only
  // its active page).
  virtual bool showsChild(const Control* /*child*/) const { return true; }

 protected:
  void adopt(std::unique_ptr<Control> child);
  // Destroys every child now (a form does this before its own registry goes away).
  void destroyChildren();
  // A change that a renderer must mirror, on this control.
  using Component::changed;

 private:
  friend class Form;
  Control* parent_ = nullptr;
  Form* form_ = nullptr;
  std::vector<std::unique_ptr<Control>> children_;
  std::vector<Control*> childView_;
  Rect bounds_;
  Align align_ = Align::None;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  bool showHint_ = false;
  bool bold_ = false;
  std::string color_;
  bool tabStop_ = false;
  int tabOrder_ = 0;
  bool realigning_ = false;
};

}  // namespace ui
