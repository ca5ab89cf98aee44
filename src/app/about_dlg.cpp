#include "app/about_dlg.h"

#include "app/maker.h"
#include "controls/hyperlink.h"
#include "language/language.h"
#include "resources/art.h"
#include "resources/resource.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : ui::Dialog(parent) {
    setWindowTitle(QStringLiteral("About Quillet"));
    auto* grid = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(resources::LoadIcon(IDR_MAINFRAME).pixmap(48, 48));
    grid->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(QStringLiteral("Quillet"), this), 0, 1);
    const CLanguage& language = Language();
    grid->addWidget(new QLabel(language.GetString(IDS_ABOUT_VERSION).arg(QUILLET_VERSION), this), 1,
                    1);
    grid->addWidget(new QLabel(language.GetString(IDS_ABOUT_COPYRIGHT).arg(maker::kName), this), 2,
                    1);
    auto* site = Register(IDC_STATIC_HOMEPAGE_LINK, new CHyperLink(this));
    site->SetURL(maker::kWebSite);
    site->SetUnderline(CHyperLink::UnderlineAlways);
    grid->addWidget(site, 3, 1);
    auto* support = Register(IDC_STATIC_SUPPORT_LINK, new CHyperLink(this));
    support->setText(language.GetString(IDS_ABOUT_SUPPORT));
    support->SetURL(maker::kContactPage);
    support->SetUnderline(CHyperLink::UnderlineAlways);
    grid->addWidget(support, 4, 1);
    grid->addWidget(new QLabel(language.GetString(IDS_ABOUT_LIBRARIES), this), 5, 0, 1, 2);
    auto* ok = Register(IDOK_BUTTON, new QPushButton(QStringLiteral("OK"), this));
    ok->setDefault(true);
    grid->addWidget(ok, 6, 1, Qt::AlignRight);
    Language().TranslateDialog(this, IDD_ABOUTBOX);
}

void CAboutDlg::OnCommand(int id) {
    if (id == IDOK_BUTTON)
        accept();
}
