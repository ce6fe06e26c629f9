#include "app/CKelto4App.h"

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(kelto4app);
    CKelto4App app(argc, argv);
    if (!app.InitInstance())
        return 0;
    return app.exec();
}
