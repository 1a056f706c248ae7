// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ListHeader.h"
#include "ReadableSelection.h"

namespace tenaxo {

namespace {
// Gauche and Droite as designed: they share the room left in this proportion.
constexpr int kGaucheWidth = 250;
constexpr int kDroiteWidth = 231;
constexpr int kOtherColumnWidth = 64;
// Between the widest text of a numeric column and the next column.
constexpr int kTextSpace = 4;
// Left free right of the columns, for a click off the cells.
constexpr int kFreeRight = 12;
constexpr int kRowHeight = 24;
// The widest values of the columns Demandé, Juste and Ratio.
const char* const kNumberSamples[] = {"99999", "99999", "0,000"};
}  // namespace

ListGrid::ListGrid(ListModel* model, QWidget* parent) : QTableView(parent), model_(model) {
  setHorizontalHeader(new ListHeader(this));
  setItemDelegate(new ReadableSelection(this));
  // Columns get their widths as they come: at the start, and when a list
  // wider than the table widens it; again as the grid is resized.
  connect(horizontalHeader(), &QHeaderView::sectionCountChanged, this, [this] { FitColumns(); });
  setModel(model_);
  verticalHeader()->hide();  // no fixed column
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setFixedHeight(kRowHeight);
  horizontalHeader()->viewport()->installEventFilter(this);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setWordWrap(false);

  editor_ = new QLineEdit(viewport());
  editor_->setFrame(false);
  // The line editor's own limit (32767 characters) would cut a longer cell
  // at its first edit.
  editor_->setMaxLength(std::numeric_limits<int>::max());
  editor_->hide();
  editor_->installEventFilter(this);
  connect(editor_, &QLineEdit::textEdited, this, &ListGrid::EditorTextEdited);

  connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { SyncCurrentIndex(); });
  connect(model_, &ListModel::CurrentCellMovedByTable, this, [this] { SyncCurrentIndex(); });
  // Whatever changed the current cell's text, the editor shows it.
  connect(model_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& top, const QModelIndex& bottom) {
    const int row = Row() - StudyTable::FixedRows;
    if (row >= top.row() && row <= bottom.row()) PlaceEditor();
  });
  SyncCurrentIndex();
}

void ListGrid::FitColumns() {
  const int count = model_->columnCount();
  const QFontMetricsF cells(font());
  const QFontMetricsF titles(horizontalHeader()->font());
  // A cell's text keeps a margin on each side, and the grid line takes a pixel.
  const int cellMargins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
  int taken = 0;
  for (int col = ColDemande; col < count; ++col) {
    int width = kOtherColumnWidth;
    if (col <= ColRatio) {
      const QString title = model_->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
      const qreal text =
          std::max(titles.horizontalAdvance(title) + ListHeader::kTextLeft + ListHeader::kTextRight,
                   cells.horizontalAdvance(QString::fromLatin1(kNumberSamples[col - ColDemande])) + cellMargins);
      width = static_cast<int>(std::ceil(text)) + kTextSpace;
    }
    setColumnWidth(col, width);
    taken += width;
  }
  const int room = viewport()->width() - kFreeRight - taken;
  const int gauche = room * kGaucheWidth / (kGaucheWidth + kDroiteWidth);
  setColumnWidth(ColGauche, gauche);
  setColumnWidth(ColDroite, room - gauche);
}

void ListGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  FitColumns();
}

int ListGrid::HeaderHeight() const { return horizontalHeader()->isVisible() ? horizontalHeader()->height() : 0; }

void ListGrid::MoveCurrent(int col, int row) {
  const int oldCol = Col();
  const int oldRow = Row();
  Table().SetCurrentCell(col, row);
  if (Col() == oldCol && Row() == oldRow) return;
  SyncCurrentIndex();
  if (OnSetEditText) OnSetEditText(oldCol, oldRow, std::string(Table().Cell(oldCol, oldRow)));
  if (OnClick) OnClick();
}

void ListGrid::SyncCurrentIndex() {
  const QModelIndex index = model_->IndexOf(Col(), Row());
  if (selectionModel() && selectionModel()->currentIndex() != index) {
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  }
  if (index.isValid()) scrollTo(index);
  PlaceEditor();
}

void ListGrid::PlaceEditor() {
  if (!editorShown_) return;
  const QRect rect = visualRect(model_->IndexOf(Col(), Row()));
  editor_->setGeometry(rect.adjusted(1, 1, -1, -1));
  const QString text = ToQString(Table().Cell(Col(), Row()));
  if (editor_->text() != text) editor_->setText(text);
}

void ListGrid::RaiseEditText() {
  if (OnSetEditText) OnSetEditText(Col(), Row(), std::string(Table().Cell(Col(), Row())));
}

void ListGrid::EditorTextEdited(const QString& text) {
  const std::string bytes = ToUtf8(text);
  const int col = Col();
  const int row = Row();
  Table().SetCell(col, row, bytes);
  if (OnSetEditText) OnSetEditText(col, row, bytes);
}

void ListGrid::MouseToCell(int x, int y, int& col, int& row) const {
  col = -1;
  row = -1;
  const int header = HeaderHeight();
  int c = -1;
  int r = -1;
  if (y >= 0 && y < header) {
    c = horizontalHeader()->logicalIndexAt(x);
    r = 0;
  } else if (y >= header) {
    c = columnAt(x);
    const int viewRow = rowAt(y - header);
    r = viewRow < 0 ? -1 : viewRow + StudyTable::FixedRows;
  }
  if (c < 0 || r < 0) return;
  col = c;
  row = r;
}

QPoint ListGrid::CellCenter(int col, int row) const {
  if (row == 0) {
    return QPoint(horizontalHeader()->sectionViewportPosition(col) + columnWidth(col) / 2, HeaderHeight() / 2);
  }
  return visualRect(model_->IndexOf(col, row)).center() + QPoint(0, HeaderHeight());
}

void ListGrid::Press(QMouseEvent* event, int x, int y) {
  RaiseEditText();  // the editor leaves its cell before the press does anything
  if (event->button() == Qt::LeftButton) {
    int col = -1;
    int row = -1;
    MouseToCell(x, y, col, row);
    if (row >= StudyTable::FixedRows) {
      Table().SetCurrentCell(col, row);
      SyncCurrentIndex();
      if (OnClick) OnClick();
    }
  }
}

void ListGrid::Release(QMouseEvent* event, int x, int y) {
  if (OnMouseUp) OnMouseUp(event->button(), x, y);
}

void ListGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  Press(event, p.x(), p.y() + HeaderHeight());
}

void ListGrid::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void ListGrid::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  Release(event, p.x(), p.y() + HeaderHeight());
}

void ListGrid::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

bool ListGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == horizontalHeader()->viewport()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint p = mouse->position().toPoint();
        Press(mouse, p.x(), p.y());
        return true;
      }
      case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint p = mouse->position().toPoint();
        Release(mouse, p.x(), p.y());
        return true;
      }
      case QEvent::MouseMove: return true;
      default: return false;
    }
  }
  if (watched == editor_ && event->type() == QEvent::KeyPress) {
    return HandleKey(static_cast<QKeyEvent*>(event));
  }
  return QTableView::eventFilter(watched, event);
}

void ListGrid::keyPressEvent(QKeyEvent* event) {
  if (!HandleKey(event)) event->ignore();
}

bool ListGrid::HandleKey(QKeyEvent* event) {
  // Text without a key (an input method's) comes as key 0, which to the
  // handlers means "stop".
  int key = event->key() == 0 ? Qt::Key_unknown : event->key();
  if (OnKeyDown) OnKeyDown(key, event->modifiers());
  if (key == 0) return true;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const int last = Table().RowCount() - 1;
  const int page = std::max(1, viewport()->height() / kRowHeight - 1);
  switch (key) {
    case Qt::Key_Up: MoveCurrent(Col(), Row() - 1); return true;
    case Qt::Key_Down: MoveCurrent(Col(), Row() + 1); return true;
    case Qt::Key_PageUp: MoveCurrent(Col(), Row() - page); return true;
    case Qt::Key_PageDown: MoveCurrent(Col(), Row() + page); return true;
    case Qt::Key_Home:
      if (!ctrl) return false;
      MoveCurrent(0, StudyTable::FixedRows);
      return true;
    case Qt::Key_End:
      if (!ctrl) return false;
      MoveCurrent(Table().ColCount() - 1, last);
      return true;
    case Qt::Key_Left:
      if (editorShown_ && (editor_->cursorPosition() > 0 || editor_->hasSelectedText())) return false;
      MoveCurrent(Col() - 1, Row());
      return true;
    case Qt::Key_Right:
      if (editorShown_ && (editor_->cursorPosition() < editor_->text().size() || editor_->hasSelectedText()))
        return false;
      MoveCurrent(Col() + 1, Row());
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: return true;
    default: return false;
  }
}

// The editor comes with the first focus, which a press anywhere in the grid (header included) gives before the press
// itself arrives.
void ListGrid::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  if (editorShown_) return;
  editorShown_ = true;
  PlaceEditor();
  editor_->show();
  setFocusProxy(editor_);  // which moves the focus the grid has to the editor
}

}  // namespace tenaxo
