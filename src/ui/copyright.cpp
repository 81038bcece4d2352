#include "ui/copyright.h"

TCopyrightFrm::TCopyrightFrm(const Platform& platform, QWidget* parent)
    : TextForm(platform, QStringLiteral("Copyright Information"), QStringLiteral("Copyright Information"), formText(), parent)
{
    setObjectName(QStringLiteral("CopyrightFrm"));
}

QString TCopyrightFrm::formText()
{
    return QStringLiteral(R"(Brannoc Quillet 1.7
Copyright (c) 1998-1999 Brannoc Software.
Все права защищены.

Программа Brannoc Quillet и сопровождающие ее
файлы охраняются законодательством об
авторском праве и международными договорами.
Незаконное воспроизведение или распространение
Программы или любой ее части влечет гражданскую
и уголовную ответственность.

Brannoc, Brannoc Quillet и Brannoc Visual
Loomwright являются товарными знаками фирмы
Brannoc Software. Прочие названия программ и
фирм, упомянутые в Программе и в ее
документации, могут быть товарными знаками
их владельцев.

-------------------------------------------

Brannoc Quillet 1.7
Copyright (c) 1998-1999 Brannoc Software.
All rights reserved.

Brannoc Quillet and its accompanying files
are protected by copyright laws and
international treaties. Unauthorized
reproduction or distribution of this
program, or any portion of it, may result
in civil and criminal penalties.

Brannoc, Brannoc Quillet and Brannoc Visual
Loomwright are trademarks of Brannoc
Software. Other product and company names
mentioned in the program and its
documentation may be trademarks of their
owners.)");
}
