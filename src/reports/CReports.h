#pragma once
#include "platform/CFormView.h"

// Reports Page
class CReports : public CFormView {
    Q_OBJECT
public:
    explicit CReports(CKelto4Doc* document, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender, long hint) override;
};
