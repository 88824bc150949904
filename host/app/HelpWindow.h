#pragma once

#include <QTextBrowser>

namespace bryx::host {

// The host's help: the HTML help set shipped beside the program, opened at a topic.
class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the file at the anchor "topic-<context>" (its start for context 0).
    void showTopic(const QString& helpFile, int context);
};

} // namespace bryx::host
