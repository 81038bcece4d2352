#include "ui/commandtable.h"

#include "ui/umain.h"

// The one place that says which control fires which handler, with the exact
// captions, shortcuts, positions and hints. Menus, toolbar, context menu and
// shortcut dispatch are all built from these rows.

const std::vector<MenuRow>& menuTable()
{
    static const std::vector<MenuRow> rows = {
        { "File1", "MainMenu1", "&Файл", nullptr, nullptr },
        { "Neweditor1", "File1", "Новое &Окно", "Ctrl+W", &Tmain::Neweditor1Click },
        { "NewDoc", "File1", "&Новый документ", "Ctrl+N", &Tmain::NewDocClick },
        { "Newframeset1", "File1", "Новый &frameset", nullptr, &Tmain::Newframeset1Click },
        { "Open2", "File1", "&Открыть...", "Ctrl+O", &Tmain::OpenBtnClick },
        { "Save2", "File1", "Сохранить", "Ctrl+S", &Tmain::Save2Click },
        { "Save1", "File1", "&Сохранить как...", "Ctrl+Shift+S", &Tmain::SaveBtnClick },
        { "PrintM", "File1", "&Печать...", nullptr, &Tmain::PrintMClick },
        { "N12", "File1", "-", nullptr, nullptr },
        { "Exit1", "File1", "&Выход", nullptr, &Tmain::Exit1Click },

        { "Edit1", "MainMenu1", "&Правка", nullptr, nullptr },
        { "Copy1", "Edit1", "&Копировать", "Ctrl+Ins", &Tmain::Copy1Click },
        { "Paste1", "Edit1", "&Вставить", "Shift+Ins", &Tmain::Paste1Click },
        { "Cut1", "Edit1", "Вы&резать", "Ctrl+Del", &Tmain::Cut1Click },
        { "Delete1", "Edit1", "&Очистить все", "Ctrl+F4", &Tmain::Delete1Click },
        { "SelectAll1", "Edit1", "Выбрать все", "Ctrl+A", &Tmain::SelectAll1Click },
        { "N14", "Edit1", "-", nullptr, nullptr },
        { "Texttools1", "Edit1", "Преобразования текста", nullptr, nullptr },
        { "Nospase1", "Texttools1", "Убрать &пробелы", "Ctrl+F10", &Tmain::Nospase1Click },
        { "Removetags1", "Texttools1", "Очистить от &тегов", "Ctrl+F12", nullptr },
        { "ToUppercase1", "Texttools1", "В &верхний регистр", "Ctrl+Alt+U", nullptr },
        { "ToLowercase1", "Texttools1", "В &нижний регистр", "Ctrl+Alt+L", nullptr },
        { "Capitalize1", "Texttools1", "&Первые в заглавные", nullptr, nullptr },
        { "StrictCapitalize1", "Texttools1", "&Строго первые в заглавные", nullptr, nullptr },
        { "Replace1", "Edit1", "&Найти/заменить", "F3", &Tmain::Replace1Click },
        { "Wordwrap1", "Edit1", "Перенос слов", nullptr, &Tmain::Wordwrap1Click, true },
        { "N17", "Edit1", "-", nullptr, nullptr },
        { "Undo1", "Edit1", "Отменить", "Ctrl+Z", &Tmain::Undo1Click },
        { "Redo1", "Edit1", "Повторить", "Ctrl+Y", &Tmain::Redo1Click },

        { "View1", "MainMenu1", "&Вид", nullptr, nullptr },
        { "Netscape1", "View1", "&Netscape", "Alt+1", &Tmain::Netscape1Click },
        { "MSIE1", "View1", "&MSIE", "Alt+2", &Tmain::MSIE1Click },
        { "Anybrowser1", "View1", "&Any browser", "Alt+3", &Tmain::Anybrowser1Click },
        { "N11", "View1", "-", nullptr, nullptr },
        { "RunWorkshop1", "View1", "&Расширенный редактор", "Alt+5", &Tmain::RunWorkshop1Click },
        { "N13", "View1", "-", nullptr, nullptr },
        { "Options1", "View1", "&Настройки программы...", nullptr, &Tmain::Options1Click },
        { "N16", "View1", "-", nullptr, nullptr },
        { "Highlight1", "View1", "Подсветка тегов", nullptr, &Tmain::Highlight1Click, true },
        { "Encoding1", "View1", "Кодировка", nullptr, nullptr },
        { "Win12511", "Encoding1", "Windows-1251", nullptr, &Tmain::Win12511Click, true, true },
        { "Utf81", "Encoding1", "UTF-8", nullptr, &Tmain::Utf81Click, true, true },
        { "N17", "Encoding1", "-", nullptr, nullptr },
        { "RereadWin12511", "Encoding1", "Перечитать как Windows-1251", nullptr, &Tmain::RereadWin12511Click },
        { "RereadUtf81", "Encoding1", "Перечитать как UTF-8", nullptr, &Tmain::RereadUtf81Click },

        { "Style1", "MainMenu1", "&Стиль", nullptr, nullptr },
        { "Font1", "Style1", "&Шрифт", "Ctrl+F", &Tmain::Font1Click },
        { "Bold1", "Style1", "&Полужирный", "Ctrl+B", &Tmain::Bold1Click },
        { "Italic1", "Style1", "&Наклонный", "Ctrl+I", &Tmain::Italic1Click },
        { "BolditaliC1", "Style1", "&П/ж+наклонный", "Ctrl+D", &Tmain::BolditaliC1Click },
        { "Fixed1", "Style1", "Фиксированный", nullptr, &Tmain::Fixed1Click },
        { "Return1", "Style1", "Перенос строки", "Ctrl+R", &Tmain::Return1Click },
        { "Paragraph1", "Style1", "&Абзац", "Ctrl+P", &Tmain::Paragraph1Click },
        { "Bullet1", "Style1", "&Списки", nullptr, nullptr },
        { "Numbers1", "Bullet1", "&Нумерованный", nullptr, &Tmain::Numbers1Click },
        { "List1", "Bullet1", "&Обычный", nullptr, &Tmain::List1Click },
        { "LisT2", "Bullet1", "&Компактный", nullptr, &Tmain::LisT2Click },
        { "MenuList", "Bullet1", "&Меню", nullptr, &Tmain::MenuListClick },
        { "Aligment1", "Style1", "Выравнивание &блока", nullptr, nullptr },
        { "Left1", "Aligment1", "&Влево", "Ctrl+Shift+L", &Tmain::Left1Click },
        { "Right1", "Aligment1", "В&проаво", "Ctrl+Shift+R", &Tmain::Right1Click },
        { "Center1", "Aligment1", "По &центру", "Ctrl+Shift+C", &Tmain::Center1Click },

        { "Insert1", "MainMenu1", "&Вставка", nullptr, nullptr },
        { "Link1", "Insert1", "&Ссылка", "Ctrl+L", &Tmain::Link1Click },
        { "Linkfile1", "Insert1", "Ссылка на &файл...", "Ctrl+Shift+L", &Tmain::Linkfile1Click },
        { "Line1", "Insert1", "&Горизонт. разделитель", "Ctrl+H", &Tmain::Line1Click },
        { "Picture1", "Insert1", "&Картинка", "Ctrl+K", &Tmain::Picture1Click },
        { "Find1", "Insert1", "&Картинка из файла", "Ctrl+Shift+K", &Tmain::Find1Click },
        { "Table1", "Insert1", "&Таблица 2х2", "Ctrl+T", &Tmain::Table1Click },
        { "Tablecomponent1", "Insert1", "Компонент таблицы", nullptr, nullptr },
        { "Row1", "Tablecomponent1", "&Строка", "Ctrl+Shift+G", &Tmain::Row1Click },
        { "Cell1", "Tablecomponent1", "&Ячейка", "Ctrl+G", &Tmain::Cell1Click },
        { "Caption1", "Tablecomponent1", "&Заголовок", nullptr, &Tmain::Caption1Click },

        { "Extra1", "MainMenu1", "&Дополнительно", nullptr, nullptr },
        { "Meat1", "Extra1", "&Мета-определение", "Ctrl+M", &Tmain::Meat1Click },
        { "Frames1", "Extra1", "&Контейнер фреймов", nullptr, &Tmain::Frames1Click },
        { "Style2", "Extra1", "Контейнер &Style", nullptr, &Tmain::Style2Click },
        { "JavaScript1", "Extra1", "JavaScript", nullptr, nullptr },
        { "Jheader1", "JavaScript1", "&Контейнер", "Ctrl+J", &Tmain::Jheader1Click },
        { "JArray1", "JavaScript1", "&Массив", nullptr, &Tmain::JArray1Click },
        { "JFunction1", "JavaScript1", "&Функция", nullptr, &Tmain::JFunction1Click },
        { "JFor1", "JavaScript1", "Цикл &For", nullptr, &Tmain::JFor1Click },
        { "JWhile1", "JavaScript1", "Цикл &While", nullptr, &Tmain::JWhile1Click },
        { "Forms1", "Extra1", "Формы", nullptr, nullptr },
        { "Formempty1", "Forms1", "Контейнер &формы", nullptr, &Tmain::Formempty1Click },
        { "Button1", "Forms1", "&Кнопка", nullptr, &Tmain::Button1Click },
        { "ComboBox1", "Forms1", "&Список", nullptr, &Tmain::ComboBox1Click },
        { "Text1", "Forms1", "&Текстовая область", nullptr, &Tmain::Text1Click },
        { "Textfield1", "Forms1", "&Строка ввода", nullptr, &Tmain::Textfield1Click },
        { "SubmitFM", "Forms1", "&Отсылка формы", nullptr, &Tmain::SubmitFMClick },
        { "ResetFM", "Forms1", "О&чистка формы", nullptr, &Tmain::ResetFMClick },
        { "N17", "Extra1", "-", nullptr, nullptr },
        { "Checkpage1", "Extra1", "Проверить страницу", "Ctrl+Shift+V", &Tmain::Checkpage1Click },

        { "Help1", "MainMenu1", "&Справка", nullptr, nullptr },
        { "Howtouse1", "Help1", "Об &использовании", "F1", &Tmain::Howtouse1Click },
        { "About1", "Help1", "&О программе", nullptr, &Tmain::About1Click },
        { "N15", "Help1", "-", nullptr, nullptr },
        { "BrannocSoftware1", "Help1", "Brannoc Software online", nullptr, &Tmain::BrannocSoftware1Click },
    };
    return rows;
}

const std::vector<ToolbarRow>& toolbarTable()
{
    static const std::vector<ToolbarRow> rows = {
        { "SpeedButton7", 4, 25, nullptr, ButtonFace::Picture, "Новый", &Tmain::NewDocClick },
        { "SpeedButton8", 30, 25, nullptr, ButtonFace::Picture, "Открыть", &Tmain::OpenBtnClick },
        { "SpeedButton9", 56, 25, nullptr, ButtonFace::Picture, "Сохранить", &Tmain::Save2Click },
        { "SpeedButton1", 87, 27, nullptr, ButtonFace::Picture, "Поиск-замена", &Tmain::Replace1Click },
        { "SpeedButton5", 120, 25, nullptr, ButtonFace::Picture, "Просмотр в Netscape", &Tmain::Netscape1Click },
        { "SpeedButton6", 146, 25, nullptr, ButtonFace::Picture, "Просмотр в MSIE", &Tmain::MSIE1Click },
        { "SpeedButton10", 172, 25, nullptr, ButtonFace::Picture, "Запуск расширенного редактора",
          &Tmain::RunWorkshop1Click },
        { "SpeedButton2", 203, 27, nullptr, ButtonFace::Picture, "Блок - влево", &Tmain::Left1Click },
        { "SpeedButton3", 231, 27, nullptr, ButtonFace::Picture, "Блок - по центру", &Tmain::Center1Click },
        { "SpeedButton4", 259, 27, nullptr, ButtonFace::Picture, "Блок - вправо", &Tmain::Right1Click },
        { "BoldButton", 291, 27, "B", ButtonFace::Bold, "Полужирный", &Tmain::Bold1Click },
        { "ItalicButton", 319, 27, "I", ButtonFace::Italic, "Наклонный", &Tmain::Italic1Click },
        { "TwoButton", 347, 27, "BI", ButtonFace::BoldItalic, "Полужирный+наклонный", &Tmain::BolditaliC1Click },
        { "FixedButton", 375, 27, "fix", ButtonFace::Fixed, "Фиксированный", &Tmain::Fixed1Click },
        { "ReturnButton", 406, 27, "/R", ButtonFace::Regular, "Обрыв строки", &Tmain::Return1Click },
        { "AbzatcButton", 434, 27, "/P", ButtonFace::Regular, "Абзац", &Tmain::Paragraph1Click },
    };
    return rows;
}

const std::vector<PopupRow>& popupTable()
{
    static const std::vector<PopupRow> rows = {
        { "N1", "Копировать", &Tmain::Copy1Click },
        { "N2", "Вставить", &Tmain::Paste1Click },
        { "N3", "Очистить все", &Tmain::Delete1Click },
        { "N4", "Убрать в буфер", &Tmain::Cut1Click },
        { "N5", "-", nullptr },
        { "N6", "Жирный", &Tmain::Bold1Click },
        { "N7", "Наклонный", &Tmain::Italic1Click },
        { "N8", "Жирнонаклонный", &Tmain::BolditaliC1Click },
        { "N9", "Отдели строку", &Tmain::N9Click },
        { "N10", "Обозначь абзац", &Tmain::N10Click },
    };
    return rows;
}
