#pragma once
// A message box drawn by GTK: the caption in its title bar, the text in a label that wraps to
// fit the screen it shows on (a long name without spaces is broken too, and a text too tall for
// the screen scrolls), and one OK button. The button, Return, Escape and the close button all
// close it. The text is published on the box's X window (MessageBoxProperty.h).
#include <string>

#include <gtk/gtk.h>

class MessageBoxWindow {
public:
    // GTK must be running. Invalid UTF-8 in either text is shown as replacement characters.
    // owner: an X window the box belongs to and stays above; 0, an unknown window or a display
    // other than X11 gives a box of its own.
    MessageBoxWindow(const std::string& caption, const std::string& text, unsigned long owner);
    ~MessageBoxWindow();
    MessageBoxWindow(const MessageBoxWindow&) = delete;
    MessageBoxWindow& operator=(const MessageBoxWindow&) = delete;

    // Shows the box and runs GTK's loop until the box is closed.
    void Run();
    // Closes it: Run returns.
    void Close();
    bool Closed() const { return closed_; }

    GtkWindow* Window() const { return GTK_WINDOW(window_); }
    GtkLabel* Label() const { return GTK_LABEL(label_); }
    GtkButton* Button() const { return GTK_BUTTON(button_); }

private:
    void FitToScreen();
    void SetOwner(unsigned long owner);
    void PublishText();

    static gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer box);
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer box);
    static void OnClicked(GtkButton*, gpointer box);

    GtkWidget* window_ = nullptr;
    GtkWidget* scroller_ = nullptr;
    GtkWidget* label_ = nullptr;
    GtkWidget* button_ = nullptr;
    GMainLoop* loop_ = nullptr;
    bool closed_ = false;
};
