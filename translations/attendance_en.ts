<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CalendarKind</name>
    <message>
        <source>节假日</source>
        <translation>Holiday</translation>
    </message>
    <message>
        <source>调休上班</source>
        <translation>Make-up workday</translation>
    </message>
    <message>
        <source>休息日</source>
        <translation>Rest day</translation>
    </message>
</context>
<context>
    <name>DayVerdict</name>
    <message>
        <source>未签退</source>
        <translation>No sign-out</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>休息</source>
        <translation>Rest</translation>
    </message>
    <message>
        <source>节假日</source>
        <translation>Holiday</translation>
    </message>
    <message>
        <source>缺勤</source>
        <translation>Absent</translation>
    </message>
    <message>
        <source>迟到%1分钟</source>
        <translation>Late %1 min</translation>
    </message>
    <message>
        <source>早退%1分钟</source>
        <translation>Left %1 min early</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>补</source>
        <translation>Added</translation>
    </message>
    <message>
        <source>改</source>
        <translation>Changed</translation>
    </message>
</context>
<context>
    <name>DesktopKit</name>
    <message>
        <source>数据库的结构版本（%1）比本程序的（%2）新，本程序不能使用它！请安装新版本的程序。点击确定后程序将退出！</source>
        <translation>The database&apos;s schema version (%1) is newer than this program&apos;s (%2); this program cannot use it. Please install the new version of the program. The program will exit when you click OK.</translation>
    </message>
    <message>
        <source>数据库的结构版本（%1）比本程序的（%2）旧，而当前登录无权升级它！请用数据库所有者的登录运行“attendance-admin migrate”。点击确定后程序将退出！</source>
        <translation>The database&apos;s schema version (%1) is older than this program&apos;s (%2), and the current login may not upgrade it. Please run &quot;attendance-admin migrate&quot; with the database owner&apos;s login. The program will exit when you click OK.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>数据库异常，程序不能正常运行！点击确定后程序将退出！</source>
        <translation>The database cannot be used; the program cannot run. The program will exit when you click OK.</translation>
    </message>
    <message>
        <source>数据导入完成！</source>
        <translation>The data have been imported.</translation>
    </message>
    <message>
        <source>数据已成功导出！</source>
        <translation>The data have been exported.</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>导入数据失败！</source>
        <translation>The import failed.</translation>
    </message>
    <message>
        <source>导出数据失败！</source>
        <translation>The export failed.</translation>
    </message>
    <message>
        <source>有%1名员工所属的部门不存在（员工号：%2），他们不会出现在员工列表中，也不能签到！<byte value="xd"/>
请同时导入其部门信息。</source>
        <translation>%1 employees belong to a department that does not exist (numbers: %2); they are not listed and cannot sign in.<byte value="xd"/>
Please import their departments as well.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>等</source>
        <translation> and others</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>MsgBox</name>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PreviewWiring</name>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>请输入要查找的文字：</source>
        <translation>Text to find:</translation>
    </message>
    <message>
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>PDF文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>Station</name>
    <message>
        <source>签到系统</source>
        <translation>Sign-in Station</translation>
    </message>
</context>
<context>
    <name>StationProblem</name>
    <message>
        <source>离线记录无法使用，已保留为 %1，并已新建；其中的扫描可用 attendance-admin replay-journal 补录到数据库</source>
        <translation>The offline journal was unusable; kept as %1, a new one started. attendance-admin replay-journal gives its scans to the database</translation>
    </message>
    <message>
        <source>离线副本无法使用，已保留为 %1，并已新建</source>
        <translation>The offline copy was unusable; kept as %1, a new one started</translation>
    </message>
    <message>
        <source>离线记录无法使用，已保留为 %1，但无法新建，离线模式未开启；其中的扫描可用 attendance-admin replay-journal 补录到数据库</source>
        <translation>The offline journal was unusable; kept as %1, no new one could be made: offline mode is off. attendance-admin replay-journal gives its scans to the database</translation>
    </message>
    <message>
        <source>离线副本无法使用，已保留为 %1，但无法新建，离线模式未开启</source>
        <translation>The offline copy was unusable; kept as %1, no new one could be made: offline mode is off</translation>
    </message>
    <message>
        <source>离线模式未开启：文件夹 %1 无法保存离线记录（只读或不存在）</source>
        <translation>Offline mode is off: the folder %1 cannot hold the offline journal (read-only or missing)</translation>
    </message>
    <message>
        <source>离线模式未开启：文件夹 %1 无法保存离线副本（只读或不存在）</source>
        <translation>Offline mode is off: the folder %1 cannot hold the offline copy (read-only or missing)</translation>
    </message>
    <message>
        <source>离线模式未开启：离线记录 %1 无法打开</source>
        <translation>Offline mode is off: the offline journal %1 cannot be opened</translation>
    </message>
    <message>
        <source>离线模式未开启：离线副本 %1 无法打开</source>
        <translation>Offline mode is off: the offline copy %1 cannot be opened</translation>
    </message>
</context>
<context>
    <name>TodayListModel</name>
    <message>
        <source>员工号</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>签到时间</source>
        <translation>Arrival</translation>
    </message>
    <message>
        <source>签退时间</source>
        <translation>Departure</translation>
    </message>
</context>
<context>
    <name>Translation</name>
    <message>
        <source>zh_CN</source>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>文件“%1”已存在。</source>
        <translation>The file &quot;%1&quot; exists already.</translation>
    </message>
    <message>
        <source>文件夹“%1”不存在。</source>
        <translation>The folder &quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>没有在文件夹“%1”中写入文件的权限。</source>
        <translation>No permission to write files in the folder &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>磁盘空间不足。</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>无法写入文件“%1”。</source>
        <translation>The file &quot;%1&quot; cannot be written.</translation>
    </message>
</context>
<context>
    <name>frimEmpImport</name>
    <message>
        <source>导入员工信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>姓    名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部    门</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>录入日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>员工编号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>头像</source>
        <translation type="unfinished">Photo</translation>
    </message>
    <message>
        <source>0/0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下一条</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frimImportExport</name>
    <message>
        <source>导入与导出员工信息</source>
        <translation>Import and Export Employees</translation>
    </message>
    <message>
        <source>选择要操作的员工</source>
        <translation>Employees to export</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>XML文件 (*.xml)</source>
        <translation>XML files (*.xml)</translation>
    </message>
    <message>
        <source>至少要选择一个需要导出的员工才能执行导出操作！</source>
        <translation>Select at least one employee to export.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请设定导出文件名！</source>
        <translation>Please name the export file.</translation>
    </message>
    <message>
        <source>请选择导入文件！</source>
        <translation>Please choose the file to import.</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>关于 签到系统</source>
        <translation>About</translation>
    </message>
    <message>
        <source>签到系统</source>
        <translation>Sign-in Station</translation>
    </message>
    <message>
        <source>版本</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>系统信息(&amp;S)...</source>
        <translation>&amp;System Info...</translation>
    </message>
    <message>
        <source>版本 %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>此时系统信息不可用</source>
        <translation>System information is not available now.</translation>
    </message>
</context>
<context>
    <name>frmAttendanceSummary</name>
    <message>
        <source>考勤统计</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年</source>
        <translation type="unfinished">Year</translation>
    </message>
    <message>
        <source>月</source>
        <translation type="unfinished">Month</translation>
    </message>
    <message>
        <source>统计</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>员工</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部门合计</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每日出勤率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>各部门迟到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>说明：统计到昨天为止，今天的考勤不计入；在休息日或节假日上班的，计为出勤。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预览</source>
        <translation type="unfinished">Preview</translation>
    </message>
    <message>
        <source>打印</source>
        <translation type="unfinished">Print</translation>
    </message>
    <message>
        <source>导出PDF</source>
        <translation type="unfinished">Export PDF</translation>
    </message>
    <message>
        <source>导出Excel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished">Exit</translation>
    </message>
</context>
<context>
    <name>frmCardSet</name>
    <message>
        <source>签到卡设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预览</source>
        <translation type="unfinished">Preview</translation>
    </message>
    <message>
        <source>单位名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>备注信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单位信息设定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LOGO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>备注信息设定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内容</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmChgPwd</name>
    <message>
        <source>修改密码</source>
        <translation>Change Password</translation>
    </message>
    <message>
        <source>原密码(&amp;O)</source>
        <translation>&amp;Old password</translation>
    </message>
    <message>
        <source>新密码(&amp;N)</source>
        <translation>&amp;New password</translation>
    </message>
    <message>
        <source>再次输入新密码(&amp;V)</source>
        <translation>&amp;Verify new</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>原密码错误！</source>
        <translation>The old password is wrong.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请输入新密码！</source>
        <translation>Please enter the new password.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>输入的两次新密码不一致！</source>
        <translation>The two new passwords differ.</translation>
    </message>
    <message>
        <source>保存新密码失败，原密码仍然有效！</source>
        <translation>The new password could not be saved; the old one is still valid.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>新密码已成功设定！</source>
        <translation>The new password is set.</translation>
    </message>
    <message>
        <source>消息</source>
        <translation>Message</translation>
    </message>
</context>
<context>
    <name>frmConDbParaSet</name>
    <message>
        <source>数据库连接参数设定</source>
        <translation>Database Connection</translation>
    </message>
    <message>
        <source>服 务 器</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>数据库服务器IP或名称</source>
        <translation>The database server&apos;s IP or name</translation>
    </message>
    <message>
        <source>登 陆 名</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>数据库登录账号名称</source>
        <translation>The database login&apos;s name</translation>
    </message>
    <message>
        <source>密    码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>上行登陆账号对应的登陆密码</source>
        <translation>The password of the login above</translation>
    </message>
    <message>
        <source>数据库名</source>
        <translation>Database</translation>
    </message>
    <message>
        <source>本系统使用的数据库名称</source>
        <translation>The name of the database this system uses</translation>
    </message>
    <message>
        <source>测试当前设定的数据库连接参数是否有效</source>
        <translation>Tests whether these connection settings work</translation>
    </message>
    <message>
        <source>测试</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>将设定的信息保存到系统</source>
        <translation>Saves the settings</translation>
    </message>
    <message>
        <source>设定</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>放弃设定、关闭窗口</source>
        <translation>Discards the settings and closes the window</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请输入数据库服务器名称或IP！</source>
        <translation>Please enter the database server&apos;s name or IP.</translation>
    </message>
    <message>
        <source>请输入数据库登陆名！</source>
        <translation>Please enter the database login.</translation>
    </message>
    <message>
        <source>请输入数据库登陆密码！</source>
        <translation>Please enter the database password.</translation>
    </message>
    <message>
        <source>请输入数据库名称！</source>
        <translation>Please enter the database name.</translation>
    </message>
    <message>
        <source>数据库服务器的写法不正确：每台写作“主机”或“主机:端口”，多台之间用逗号分隔！</source>
        <translation>The database servers are written wrongly: write each as &quot;host&quot; or &quot;host:port&quot;, several separated by commas.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>保存数据库连接信息失败！</source>
        <translation>The connection settings could not be saved.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>数据库连接参数已被成功保存！</source>
        <translation>The connection settings are saved.</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>数据库连接成功！</source>
        <translation>The database connection works.</translation>
    </message>
    <message>
        <source>数据库连接失败！</source>
        <translation>The database connection failed.</translation>
    </message>
</context>
<context>
    <name>frmCorrection</name>
    <message>
        <source>考勤修正</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>员工工号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部门（一天）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查询</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>姓名</source>
        <translation type="unfinished">Name</translation>
    </message>
    <message>
        <source>签到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>签退</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修正</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>其他记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HH:mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>补签</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished">Close</translation>
    </message>
</context>
<context>
    <name>frmCorrectionTrail</name>
    <message>
        <source>考勤修正记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>至</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部员工</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查询</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>操作</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原签到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原签退</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新签到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新签退</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原因</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>操作人</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>主机</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>程序</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished">Exit</translation>
    </message>
</context>
<context>
    <name>frmDeptAppend</name>
    <message>
        <source>增加新部门</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新增部门名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放弃</source>
        <translation type="unfinished">Cancel</translation>
    </message>
</context>
<context>
    <name>frmDeptEdit</name>
    <message>
        <source>修改部门名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放弃</source>
        <translation type="unfinished">Cancel</translation>
    </message>
</context>
<context>
    <name>frmEmployeeMange</name>
    <message>
        <source>员工信息录入</source>
        <translation>Enrol Employee</translation>
    </message>
    <message>
        <source>姓名(&amp;N)</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>工作岗位(&amp;K)</source>
        <translation>&amp;Dept.</translation>
    </message>
    <message>
        <source>录入系统时间(&amp;T)</source>
        <translation>En&amp;rolled</translation>
    </message>
    <message>
        <source>新增</source>
        <translation>New</translation>
    </message>
    <message>
        <source>清除显示值,允许录入新信息</source>
        <translation>Clears the fields for a new employee</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>将当前学员信息追加到数据库中</source>
        <translation>Adds this employee to the database</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>退出学员信息管理窗口</source>
        <translation>Closes the enrolment window</translation>
    </message>
    <message>
        <source>头像</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请输入姓名！</source>
        <translation>Please enter the name.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>请选择岗位！</source>
        <translation>Please choose the department.</translation>
    </message>
    <message>
        <source>XML文件 (*.xml)</source>
        <translation>XML files (*.xml)</translation>
    </message>
    <message>
        <source>没有发现摄像头,不能追加员工信息!</source>
        <translation>No camera found; the employee cannot be added.</translation>
    </message>
    <message>
        <source>员工信息保存失败!</source>
        <translation>The employee could not be saved.</translation>
    </message>
    <message>
        <source>取得员工头像失败,不能追加员工信息!</source>
        <translation>The photo could not be taken; the employee cannot be added.</translation>
    </message>
    <message>
        <source>员工信息已成功保存!</source>
        <translation>The employee is saved.</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>frmEmployeeMonthExport</name>
    <message>
        <source>员工考勤月报表导出</source>
        <translation>Export Monthly Attendance</translation>
    </message>
    <message>
        <source>请选择要导出的月份</source>
        <translation>Month to export</translation>
    </message>
    <message>
        <source>年</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>设定导出文件</source>
        <translation>Export File</translation>
    </message>
    <message>
        <source>XML文件 (*.XML *.xml)</source>
        <translation>XML files (*.XML *.xml)</translation>
    </message>
    <message>
        <source>没有指导出文件名!</source>
        <translation>No export file named.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>frmEmployeeMonthReport</name>
    <message>
        <source>员工考勤月报表打印</source>
        <translation>Print Monthly Attendance</translation>
    </message>
    <message>
        <source>请选择要打印的月份</source>
        <translation>Month to print</translation>
    </message>
    <message>
        <source>年</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>取得考勤信息出错！</source>
        <translation>The attendance could not be read.</translation>
    </message>
    <message>
        <source>打印失败！</source>
        <translation>Printing failed.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>frmLogin</name>
    <message>
        <source>管理登陆</source>
        <translation>Administrator</translation>
    </message>
    <message>
        <source>请输入管理密码</source>
        <translation>Administrator password</translation>
    </message>
    <message>
        <source>登陆</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请输入密码！</source>
        <translation>Please enter the password.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>签到系统管理软件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部门(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>员工(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>考勤(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>弹出菜单</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>签到卡信息设置(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>显示列表(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>追加(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入初始信息(&amp;I)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印签到卡(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>考勤统计(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>今日未到(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未签退(&amp;M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作息时间(&amp;W)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>节假日与调休(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助文件(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>访问官方网站(&amp;V)</source>
        <translation>&amp;Visit Home Page</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>考勤系统</source>
        <translation>Attendance</translation>
    </message>
    <message>
        <source>系统(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>人员管理(&amp;P)</source>
        <translation>&amp;Employees</translation>
    </message>
    <message>
        <source>考勤管理(&amp;P)</source>
        <translation>&amp;Attendance</translation>
    </message>
    <message>
        <source>系统管理(&amp;S)</source>
        <translation>&amp;System</translation>
    </message>
    <message>
        <source>管理员登陆(&amp;I)</source>
        <translation>Administrator Log&amp;in</translation>
    </message>
    <message>
        <source>修改管理密码(&amp;P)</source>
        <translation>Change &amp;Password</translation>
    </message>
    <message>
        <source>退出管理状态(&amp;O)</source>
        <translation>Log &amp;Out</translation>
    </message>
    <message>
        <source>Ctrl+X</source>
        <translation>Ctrl+X</translation>
    </message>
    <message>
        <source>导入员工信息(&amp;I)</source>
        <translation>&amp;Import Employees</translation>
    </message>
    <message>
        <source>导出员工信息(&amp;E)</source>
        <translation>&amp;Export Employees</translation>
    </message>
    <message>
        <source>录入员工信息(&amp;I)</source>
        <translation>Enrol Employee</translation>
    </message>
    <message>
        <source>显示考勤窗口(&amp;D)</source>
        <translation>Show Sign-in &amp;Window</translation>
    </message>
    <message>
        <source>Ctrl+D</source>
        <translation>Ctrl+D</translation>
    </message>
    <message>
        <source>显示当日签到信息(&amp;T)</source>
        <translation>&amp;Today&apos;s Sign-ins</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>导出考勤月报表(&amp;O)</source>
        <translation>Exp&amp;ort Monthly Report</translation>
    </message>
    <message>
        <source>打印考勤月报表(&amp;P)</source>
        <translation>&amp;Print Monthly Report</translation>
    </message>
    <message>
        <source>数据库设定(&amp;D)</source>
        <translation>&amp;Database</translation>
    </message>
    <message>
        <source>单位名称设定(&amp;U)</source>
        <translation>&amp;Unit Name</translation>
    </message>
    <message>
        <source>更新部门数据(&amp;D)</source>
        <translation>Update &amp;Departments</translation>
    </message>
    <message>
        <source>扫描测试(&amp;T)</source>
        <translation>Scan &amp;Test</translation>
    </message>
    <message>
        <source>备份当月签到数据(&amp;B)</source>
        <translation>&amp;Back Up This Month</translation>
    </message>
    <message>
        <source>帮助文件(&amp;H)</source>
        <translation>&amp;Help File</translation>
    </message>
    <message>
        <source>关于(&amp;A) </source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>%1考勤系统 Ver%2</source>
        <translation>%1 Attendance Ver%2</translation>
    </message>
    <message>
        <source>-[当日员工签到列表]</source>
        <translation> - [Today&apos;s Sign-ins]</translation>
    </message>
    <message>
        <source>本机时钟与服务器相差 %1 秒，请校准时间</source>
        <translation>This PC&apos;s clock differs from the server&apos;s by %1 s; please set the time</translation>
    </message>
    <message>
        <source>本机时区（%1）与服务器时区（%2）不同，请校准时区</source>
        <translation>This PC&apos;s time zone (%1) differs from the server&apos;s (%2); please set the time zone</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>XML文件 (*.xml *.XML)</source>
        <translation>XML files (*.xml *.XML)</translation>
    </message>
    <message>
        <source>设定导出文件</source>
        <translation>Export File</translation>
    </message>
    <message>
        <source>XML文件 (*.XML *.xml)</source>
        <translation>XML files (*.XML *.xml)</translation>
    </message>
    <message>
        <source>没有指定备份文件名!</source>
        <translation>No backup file named.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>关于 %1</source>
        <translation>About %1</translation>
    </message>
</context>
<context>
    <name>frmMissingDeparture</name>
    <message>
        <source>未签退</source>
        <translation type="unfinished">No sign-out</translation>
    </message>
    <message>
        <source>从</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>至</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查询</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>姓名</source>
        <translation type="unfinished">Name</translation>
    </message>
    <message>
        <source>部门</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>签到时间</source>
        <translation type="unfinished">Arrival</translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished">Exit</translation>
    </message>
</context>
<context>
    <name>frmNotArrived</name>
    <message>
        <source>今日未到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部门</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>姓名</source>
        <translation type="unfinished">Name</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished">Exit</translation>
    </message>
</context>
<context>
    <name>frmScanTest</name>
    <message>
        <source>条码：</source>
        <translation>Barcode: </translation>
    </message>
    <message>
        <source>扫描测试</source>
        <translation>Scan Test</translation>
    </message>
    <message>
        <source>请扫描签到卡，下面列出扫描枪发送的每个按键。</source>
        <translation>Scan a card; every key the scanner sends is listed below.</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>间隔(毫秒)</source>
        <translation>Gap (ms)</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>frmSetSchoolName</name>
    <message>
        <source>设定使用单位名称</source>
        <translation>Unit Name</translation>
    </message>
    <message>
        <source>请设定安装本程序的单位名称</source>
        <translation>The name of the unit using this program</translation>
    </message>
    <message>
        <source>设定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>请输入使用单位名称！</source>
        <translation>Please enter the unit name.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>设定使用单位名称失败！</source>
        <translation>The unit name could not be set.</translation>
    </message>
</context>
<context>
    <name>frmSign</name>
    <message>
        <source>签到窗体</source>
        <translation>Sign-in</translation>
    </message>
    <message>
        <source>离线</source>
        <translation>Local</translation>
    </message>
    <message>
        <source>无效条码！如果签到卡无误，请重试一遍！</source>
        <translation>Unknown card. If the card is right, please scan it again.</translation>
    </message>
    <message>
        <source>数据库操作失败！</source>
        <translation>The database failed.</translation>
    </message>
    <message>
        <source>上班喽%1轻松点%1快乐点</source>
        <translation>Hello!%1Relax,%1be happy</translation>
    </message>
    <message>
        <source>下班啦</source>
        <translation>Goodbye!</translation>
    </message>
    <message>
        <source>今天您已经签退了！</source>
        <translation>You have signed out today already.</translation>
    </message>
    <message>
        <source>连续扫描签到卡！</source>
        <translation>Card scanned twice in a row.</translation>
    </message>
    <message>
        <source>系统错误！</source>
        <translation>System error.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>frmWorkCalendar</name>
    <message>
        <source>节假日与调休</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年</source>
        <translation type="unfinished">Year</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>类型</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>至</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除所选</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished">Exit</translation>
    </message>
</context>
<context>
    <name>frmWorkSchedule</name>
    <message>
        <source>作息时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>适用范围</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使用单位作息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished">Exit</translation>
    </message>
</context>
</TS>
