// The pages of the report one below the other in a scrolling view: the results window's page
// pictures. PageDown and PageUp go to the next and the previous page, Ctrl+Home and Ctrl+End to
// the first and the last; the wheel and the scroll bar move through them as through one sheet.
#pragma once

#include <QImage>
#include <QScrollArea>

#include <vector>

class QLabel;
class QVBoxLayout;

namespace vardel {

class PageView : public QScrollArea {  // object name "Picture1"
    Q_OBJECT

  public:
    explicit PageView(QWidget* parent = nullptr);

    // Shows `pages` (drawn for `devicePixelRatio`), keeping the page in view where there is one.
    void SetPages(std::vector<QImage> pages, qreal devicePixelRatio);
    void Clear();

    int PageCount() const { return static_cast<int>(labels_.size()); }
    // The page in view, 0 the first: the last one whose top has come into the upper third.
    int CurrentPage() const;
    void ShowPage(int index);

    // The label of the first page ("Picture2"); the further ones are "Picture2_2", ...
    QLabel* FirstPage() const { return first_; }

  signals:
    void currentPageChanged(int index, int count);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void NotePage();

    QWidget* sheet_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    QLabel* first_ = nullptr;
    std::vector<QLabel*> labels_;
};

}  // namespace vardel
