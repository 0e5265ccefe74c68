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
    <name>CardReports</name>
    <message>
        <source>读取员工信息失败！</source>
        <translation>Could not read the employees.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
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
    <name>EmployeeMonthReport</name>
    <message>
        <source>员工出勤月报表</source>
        <translation>Monthly Attendance Report</translation>
    </message>
    <message>
        <source>月员工考勤报表</source>
        <translation> Attendance Report</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>打印日期：</source>
        <translation>Printed:</translation>
    </message>
    <message>
        <source>M</source>
        <comment>date format of the month before the title</comment>
        <translation>MMM</translation>
    </message>
</context>
<context>
    <name>HtmlPage</name>
    <message>
        <source>今日</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>今日未到</source>
        <translation>Not arrived</translation>
    </message>
    <message>
        <source>未签退</source>
        <translation>No departure</translation>
    </message>
    <message>
        <source>月度统计</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>zh-CN</source>
        <extracomment>the pages&apos; language tag (BCP 47)</extracomment>
        <translation>en</translation>
    </message>
    <message>
        <source>考勤</source>
        <translation>Attendance</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Sign out</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
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
    <name>ReportPreview</name>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>第 %1 页</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>各页目录</source>
        <translation>Page list</translation>
    </message>
    <message>
        <source>打印...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>打印报表</source>
        <translation>Print the report</translation>
    </message>
    <message>
        <source>拷贝</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>单页显示</source>
        <translation>One page</translation>
    </message>
    <message>
        <source>多页显示</source>
        <translation>Several pages</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>后退</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>前进</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>导出PDF文件</source>
        <translation>Export as a PDF file</translation>
    </message>
    <message>
        <source>打印失败！</source>
        <translation>Printing failed!</translation>
    </message>
    <message>
        <source>找不到“%1”。</source>
        <translation>“%1” was not found.</translation>
    </message>
    <message>
        <source>PDF文件已导出！</source>
        <translation>The PDF file has been exported!</translation>
    </message>
    <message>
        <source>导出PDF失败！
%1</source>
        <translation>Exporting the PDF failed!
%1</translation>
    </message>
</context>
<context>
    <name>SingleEmployeeInfoReport</name>
    <message>
        <source>张三</source>
        <translation>John Smith</translation>
    </message>
    <message>
        <source>办公室</source>
        <translation>Office</translation>
    </message>
    <message>
        <source>打印签到卡</source>
        <translation>Print Sign-in Cards</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>岗位</source>
        <translation>Dept.</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>No.</translation>
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
    <name>SummaryCharts</name>
    <message>
        <source>休</source>
        <translation> rest</translation>
    </message>
    <message>
        <source>假</source>
        <translation> hol</translation>
    </message>
    <message>
        <source>%1年%2月 每日出勤率</source>
        <translation>Daily attendance rate, %2/%1</translation>
    </message>
    <message>
        <source>出勤率</source>
        <translation>Attendance rate</translation>
    </message>
    <message>
        <source>%1年%2月 各部门迟到次数</source>
        <translation>Late arrivals by department, %2/%1</translation>
    </message>
    <message>
        <source>迟到次数</source>
        <translation>Late arrivals</translation>
    </message>
</context>
<context>
    <name>SummaryReport</name>
    <message>
        <source>考勤月汇总</source>
        <translation>Monthly Attendance Summary</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>应出勤
天数</source>
        <translation>Work
days</translation>
    </message>
    <message>
        <source>出勤
天数</source>
        <translation>Days
present</translation>
    </message>
    <message>
        <source>迟到
次数</source>
        <translation>Late
times</translation>
    </message>
    <message>
        <source>迟到
分钟</source>
        <translation>Late
min.</translation>
    </message>
    <message>
        <source>早退
次数</source>
        <translation>Early
times</translation>
    </message>
    <message>
        <source>早退
分钟</source>
        <translation>Early
min.</translation>
    </message>
    <message>
        <source>未签退
次数</source>
        <translation>No
exit</translation>
    </message>
    <message>
        <source>缺勤
天数</source>
        <translation>Absent
days</translation>
    </message>
    <message>
        <source>工作
时长</source>
        <translation>Hours
worked</translation>
    </message>
    <message>
        <source>修正
天数</source>
        <translation>Corr.
days</translation>
    </message>
    <message>
        <source>打印日期：</source>
        <translation>Printed:</translation>
    </message>
    <message>
        <source>应出勤天数</source>
        <translation>Working days</translation>
    </message>
    <message>
        <source>出勤天数</source>
        <translation>Days present</translation>
    </message>
    <message>
        <source>迟到次数</source>
        <translation>Times late</translation>
    </message>
    <message>
        <source>迟到分钟</source>
        <translation>Minutes late</translation>
    </message>
    <message>
        <source>早退次数</source>
        <translation>Times left early</translation>
    </message>
    <message>
        <source>早退分钟</source>
        <translation>Minutes left early</translation>
    </message>
    <message>
        <source>未签退次数</source>
        <translation>No departure</translation>
    </message>
    <message>
        <source>缺勤天数</source>
        <translation>Days absent</translation>
    </message>
    <message>
        <source>工作时长</source>
        <translation>Hours worked</translation>
    </message>
    <message>
        <source>修正天数</source>
        <translation>Days corrected</translation>
    </message>
    <message>
        <source>%1年%2月</source>
        <translation>%2/%1</translation>
    </message>
    <message>
        <source>%1 %2考勤汇总</source>
        <translation>%1 Attendance Summary %2</translation>
    </message>
    <message>
        <source>部门合计</source>
        <translation>Dept. total</translation>
    </message>
    <message>
        <source>（无部门）</source>
        <translation>(no department)</translation>
    </message>
    <message>
        <source>单位合计</source>
        <translation>Unit total</translation>
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
    <name>WebPages</name>
    <message>
        <source>M月d日 HH:mm</source>
        <translation>MMM d HH:mm</translation>
    </message>
    <message>
        <source>（无部门）</source>
        <translation>(no department)</translation>
    </message>
    <message>
        <source>(%1人)</source>
        <translation>(%1)</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>到达</source>
        <translation>Arrival</translation>
    </message>
    <message>
        <source>离开</source>
        <translation>Departure</translation>
    </message>
    <message>
        <source>情况</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>今日 %1</source>
        <translation>Today, %1</translation>
    </message>
    <message>
        <source>yyyy年M月d日 dddd</source>
        <translation>dddd, MMMM d, yyyy</translation>
    </message>
    <message>
        <source>已到 %1</source>
        <translation>Present %1</translation>
    </message>
    <message>
        <source>未到 %1</source>
        <translation>Not arrived %1</translation>
    </message>
    <message>
        <source>休息 %1</source>
        <translation>Resting %1</translation>
    </message>
    <message>
        <source>更新于 %1</source>
        <translation>Updated at %1</translation>
    </message>
    <message>
        <source>今天还没有记录。</source>
        <translation>No records yet today.</translation>
    </message>
    <message>
        <source>今日</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>今日未到</source>
        <translation>Not arrived today</translation>
    </message>
    <message>
        <source>(%1人, %2)</source>
        <translation>(%1, %2)</translation>
    </message>
    <message>
        <source>未签退</source>
        <translation>No departure</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>到</source>
        <translation>To</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>%1条记录</source>
        <translation>%1 records</translation>
    </message>
    <message>
        <source>合计</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>无部门</source>
        <translation>No department</translation>
    </message>
    <message>
        <source>月度统计</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>月份</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>查看</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>下载：</source>
        <translation>Download: </translation>
    </message>
    <message>
        <source>部门合计</source>
        <translation>Department totals</translation>
    </message>
    <message>
        <source>每日出勤率</source>
        <translation>Attendance rate by day</translation>
    </message>
    <message>
        <source>各部门迟到次数</source>
        <translation>Late arrivals by department</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>修正</source>
        <translation>Corrected</translation>
    </message>
    <message>
        <source>M月d日 ddd</source>
        <translation>ddd MMM d</translation>
    </message>
    <message>
        <source>本月合计</source>
        <translation>Month total</translation>
    </message>
    <message>
        <source>考勤查看</source>
        <translation>Attendance</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Sign in</translation>
    </message>
</context>
<context>
    <name>WebSite</name>
    <message>
        <source>请登录</source>
        <translation>Please sign in</translation>
    </message>
    <message>
        <source>请先登录。</source>
        <translation>Please sign in first.</translation>
    </message>
    <message>
        <source>无法读取考勤记录</source>
        <translation>The attendance records cannot be read</translation>
    </message>
    <message>
        <source>月份无效</source>
        <translation>Invalid month</translation>
    </message>
    <message>
        <source>月份应为 YYYY-MM（1900-2100年，1-12月）：%1</source>
        <translation>The month must be YYYY-MM (years 1900-2100, months 1-12): %1</translation>
    </message>
    <message>
        <source>请求无效</source>
        <translation>Invalid request</translation>
    </message>
    <message>
        <source>参数过长。</source>
        <translation>A parameter is too long.</translation>
    </message>
    <message>
        <source>路径过长。</source>
        <translation>The path is too long.</translation>
    </message>
    <message>
        <source>路径无效。</source>
        <translation>Invalid path.</translation>
    </message>
    <message>
        <source>请求过大。</source>
        <translation>The request is too large.</translation>
    </message>
    <message>
        <source>找不到页面</source>
        <translation>Page not found</translation>
    </message>
    <message>
        <source>没有这个页面：%1</source>
        <translation>There is no such page: %1</translation>
    </message>
    <message>
        <source>此页面不接受这种请求。</source>
        <translation>This page does not accept this kind of request.</translation>
    </message>
    <message>
        <source>密码错误次数过多，请%1秒后再试。</source>
        <translation>Too many wrong passwords; please try again in %1 seconds.</translation>
    </message>
    <message>
        <source>尚未设置查看密码。</source>
        <translation>No viewer password has been set yet.</translation>
    </message>
    <message>
        <source>密码错误。</source>
        <translation>Wrong password.</translation>
    </message>
    <message>
        <source>日期无效</source>
        <translation>Invalid date</translation>
    </message>
    <message>
        <source>日期应为 YYYY-MM-DD（1900-2100年）：%1</source>
        <translation>Dates must be YYYY-MM-DD (years 1900-2100): %1</translation>
    </message>
    <message>
        <source>开始日期须不晚于结束日期，且相隔不超过一年。</source>
        <translation>The start date must not be after the end date, and they may be at most a year apart.</translation>
    </message>
    <message>
        <source>排序参数无效。</source>
        <translation>Invalid sort parameters.</translation>
    </message>
    <message>
        <source>缺少员工编号。</source>
        <translation>The employee number is missing.</translation>
    </message>
    <message>
        <source>找不到员工</source>
        <translation>Employee not found</translation>
    </message>
    <message>
        <source>没有编号为 %1 的员工。</source>
        <translation>There is no employee numbered %1.</translation>
    </message>
    <message>
        <source>无法生成文件</source>
        <translation>The file cannot be made</translation>
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
        <translation>Import Employees</translation>
    </message>
    <message>
        <source>姓    名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>部    门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>录入日期</source>
        <translation>Entry date</translation>
    </message>
    <message>
        <source>员工编号</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>头像</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>0/0</source>
        <translation>0/0</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>下一条</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>文件不存在。</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>文件已损坏，或不是员工信息文件。</source>
        <translation>The file is damaged or is not an employee file.</translation>
    </message>
    <message>
        <source>文件中没有员工信息。</source>
        <translation>The file holds no employee.</translation>
    </message>
    <message>
        <source>这是导出的员工信息文件，其中的员工已有编号和条码。</source>
        <translation>This is an exported employee file: its employees already have numbers and barcodes.</translation>
    </message>
    <message>
        <source>文件不是新员工信息文件。</source>
        <translation>The file is not a new-employee file.</translation>
    </message>
    <message>
        <source>不能导入文件“%1”：
%2</source>
        <translation>Cannot import the file “%1”:
%2</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请输入员工姓名！</source>
        <translation>Please enter the employee&apos;s name.</translation>
    </message>
    <message>
        <source>请输入员工信息录入日期！</source>
        <translation>Please enter the entry date.</translation>
    </message>
    <message>
        <source>录入日期不正确，请输入正确的日期！</source>
        <translation>The entry date is not valid. Please enter a valid date.</translation>
    </message>
    <message>
        <source>员工头像不存在！</source>
        <translation>The employee&apos;s photo is missing.</translation>
    </message>
    <message>
        <source>请输入员工编号！</source>
        <translation>Please enter the employee number.</translation>
    </message>
    <message>
        <source>员工信息已成功导入！</source>
        <translation>The employee has been imported.</translation>
    </message>
    <message>
        <source>消息</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>员工编号已存在，请使用未使用的员工编号！</source>
        <translation>This employee number is taken. Please use an unused number.</translation>
    </message>
    <message>
        <source>员工信息保存失败！</source>
        <translation>Could not save the employee.</translation>
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
        <translation>Attendance Summary</translation>
    </message>
    <message>
        <source>年</source>
        <translation>year</translation>
    </message>
    <message>
        <source>月</source>
        <translation>month</translation>
    </message>
    <message>
        <source>统计</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>员工</source>
        <translation>Employees</translation>
    </message>
    <message>
        <source>部门合计</source>
        <translation>Departments</translation>
    </message>
    <message>
        <source>每日出勤率</source>
        <translation>Daily attendance</translation>
    </message>
    <message>
        <source>各部门迟到</source>
        <translation>Late by department</translation>
    </message>
    <message>
        <source>说明：统计到昨天为止，今天的考勤不计入；在休息日或节假日上班的，计为出勤。</source>
        <translation>Note: counted up to yesterday, today is not included; work on a rest day or holiday counts as attendance.</translation>
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
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>导出Excel</source>
        <translation>Export Excel</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>应出勤天数</source>
        <translation>Working days</translation>
    </message>
    <message>
        <source>出勤天数</source>
        <translation>Days present</translation>
    </message>
    <message>
        <source>迟到次数</source>
        <translation>Times late</translation>
    </message>
    <message>
        <source>迟到分钟</source>
        <translation>Minutes late</translation>
    </message>
    <message>
        <source>早退次数</source>
        <translation>Times left early</translation>
    </message>
    <message>
        <source>早退分钟</source>
        <translation>Minutes early</translation>
    </message>
    <message>
        <source>未签退</source>
        <translation>No sign-out</translation>
    </message>
    <message>
        <source>缺勤天数</source>
        <translation>Days absent</translation>
    </message>
    <message>
        <source>工作时长</source>
        <translation>Hours worked</translation>
    </message>
    <message>
        <source>工号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>修正天数</source>
        <translation>Corrected days</translation>
    </message>
    <message>
        <source>取得考勤信息出错！
%1</source>
        <translation>Could not read the attendance records.
%1</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>全单位</source>
        <translation>Whole unit</translation>
    </message>
    <message>
        <source>%1年%2月，%3名员工</source>
        <translation>%2/%1, employees: %3</translation>
    </message>
    <message>
        <source>考勤统计_%1年%2月</source>
        <translation>attendance_summary_%1-%2</translation>
    </message>
    <message>
        <source>打印失败！</source>
        <translation>Printing failed.</translation>
    </message>
    <message>
        <source>PDF文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>PDF文件已导出！</source>
        <translation>The PDF file has been exported.</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>导出PDF失败！
%1</source>
        <translation>Could not export the PDF file.
%1</translation>
    </message>
    <message>
        <source>Excel文件 (*.xlsx)</source>
        <translation>Excel files (*.xlsx)</translation>
    </message>
    <message>
        <source>Excel文件已导出！</source>
        <translation>The Excel file has been exported.</translation>
    </message>
    <message>
        <source>导出Excel失败！
%1</source>
        <translation>Could not export the Excel file.
%1</translation>
    </message>
</context>
<context>
    <name>frmCardSet</name>
    <message>
        <source>签到卡设置</source>
        <translation>Sign-in Card Design</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>单位名称</source>
        <translation>Unit name</translation>
    </message>
    <message>
        <source>备注信息</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>单位信息设定</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>LOGO</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>备注信息设定</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>保存签到卡设置失败！</source>
        <translation>Could not save the card design.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>输入显示名称</source>
        <translation>Text on the Card</translation>
    </message>
    <message>
        <source>请输入签到卡显示的单位名称：</source>
        <translation>The unit name on the card:</translation>
    </message>
    <message>
        <source>请输入签到卡备注内容：</source>
        <translation>The memo on the card:</translation>
    </message>
    <message>
        <source>位图(*.bmp *.dib);;GIF图像(*.gif);;JPEG图像(*.jpg);;元文件(*.wmf *.emf);;Icons(*.ico *.cur);;所有图像文件(*.bmp *.dib *.gif *.jpg *.wmf *.emf *.ico *.cur)</source>
        <translation>Bitmaps(*.bmp *.dib);;GIF pictures(*.gif);;JPEG pictures(*.jpg);;Metafiles(*.wmf *.emf);;Icons(*.ico *.cur);;All pictures(*.bmp *.dib *.gif *.jpg *.wmf *.emf *.ico *.cur)</translation>
    </message>
    <message>
        <source>“%1”是程序目录中程序自用文件的名称，不能作为LOGO图片！请将图片改名后重新选择。</source>
        <translation>“%1” is the name of a file the programs use in their directory and cannot be the logo. Please rename the picture and choose it again.</translation>
    </message>
    <message>
        <source>“%1”不是可以读取的图片文件，不能作为LOGO图片！</source>
        <translation>“%1” is not a picture that can be read and cannot be the logo.</translation>
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
        <translation>Attendance Correction</translation>
    </message>
    <message>
        <source>员工工号</source>
        <translation>Employee No.</translation>
    </message>
    <message>
        <source>部门（一天）</source>
        <translation>Department (one day)</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>工号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>签到</source>
        <translation>Sign-in</translation>
    </message>
    <message>
        <source>签退</source>
        <translation>Sign-out</translation>
    </message>
    <message>
        <source>修正</source>
        <translation>Corrected</translation>
    </message>
    <message>
        <source>其他记录</source>
        <translation>Other records</translation>
    </message>
    <message>
        <source>HH:mm</source>
        <translation>HH:mm</translation>
    </message>
    <message>
        <source>补签</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>月份（年-月）：</source>
        <translation>Month (year-month):</translation>
    </message>
    <message>
        <source>请按“年-月”输入月份，例如 %1。</source>
        <translation>Please enter the month as “year-month”, for example %1.</translation>
    </message>
    <message>
        <source>写入数据库失败：%1</source>
        <translation>Could not write to the database: %1</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>读取考勤记录失败：%1</source>
        <translation>Could not read the attendance records: %1</translation>
    </message>
    <message>
        <source>读取修正记录失败：%1</source>
        <translation>Could not read the corrections: %1</translation>
    </message>
    <message>
        <source>另有%1条</source>
        <translation>%1 more</translation>
    </message>
    <message>
        <source>请先选择一天的记录。</source>
        <translation>Please select a day first.</translation>
    </message>
    <message>
        <source>修正原因（必填）：</source>
        <translation>Reason for the correction (required):</translation>
    </message>
    <message>
        <source>补签</source>
        <comment>done</comment>
        <translation>added</translation>
    </message>
    <message>
        <source>修改</source>
        <comment>done</comment>
        <translation>changed</translation>
    </message>
    <message>
        <source>删除</source>
        <comment>done</comment>
        <translation>removed</translation>
    </message>
    <message>
        <source>%1 %2（%3）的考勤已%4。</source>
        <translation>Attendance of %2 (%3) on %1 %4.</translation>
    </message>
    <message>
        <source>必须填写修正原因。</source>
        <translation>A reason for the correction is required.</translation>
    </message>
    <message>
        <source>没有这个工号的员工。</source>
        <translation>There is no employee with this number.</translation>
    </message>
    <message>
        <source>%1年%2月已月结</source>
        <translation>%2/%1 is closed</translation>
    </message>
    <message>
        <source>不能记录晚于现在的时间。</source>
        <translation>A time later than now cannot be recorded.</translation>
    </message>
    <message>
        <source>这一天没有考勤记录。</source>
        <translation>There is no attendance record on this day.</translation>
    </message>
    <message>
        <source>这一天已有签到，请用“修改”。</source>
        <translation>This day already has a sign-in; use “Change”.</translation>
    </message>
    <message>
        <source>这一天已有签退，请用“修改”。</source>
        <translation>This day already has a sign-out; use “Change”.</translation>
    </message>
    <message>
        <source>没有签到不能补签退。</source>
        <translation>A sign-out cannot be added without a sign-in.</translation>
    </message>
    <message>
        <source>签退时间必须晚于签到时间。</source>
        <translation>The sign-out must be later than the sign-in.</translation>
    </message>
    <message>
        <source>请勾选签到或签退时间。</source>
        <translation>Please tick the sign-in or the sign-out time.</translation>
    </message>
    <message>
        <source>只能月结已过去的月份。</source>
        <translation>Only a past month can be closed.</translation>
    </message>
    <message>
        <source>%1年%2月未月结</source>
        <translation>%2/%1 is not closed</translation>
    </message>
    <message>
        <source>管理员密码不正确。</source>
        <translation>The administrator password is wrong.</translation>
    </message>
    <message>
        <source>月结</source>
        <translation>Close Month</translation>
    </message>
    <message>
        <source>%1年%2月</source>
        <translation>%2/%1</translation>
    </message>
    <message>
        <source>月结后，%1的考勤记录不能再补签、修改或删除，只有输入管理员密码取消月结后才能再修正。
确定要月结%1吗？</source>
        <translation>Once %1 is closed, its attendance records can no longer be added, changed or removed; only reopening it with the administrator password allows corrections again.
Close %1?</translation>
    </message>
    <message>
        <source>%1已月结。</source>
        <translation>%1 is closed.</translation>
    </message>
    <message>
        <source>取消月结</source>
        <translation>Reopen Month</translation>
    </message>
    <message>
        <source>管理员密码：</source>
        <translation>Administrator password:</translation>
    </message>
    <message>
        <source>%1年%2月已取消月结。</source>
        <translation>%2/%1 is reopened.</translation>
    </message>
    <message>
        <source>考勤(&amp;A)</source>
        <translation>&amp;Attendance</translation>
    </message>
    <message>
        <source>考勤修正(&amp;R)…</source>
        <translation>Co&amp;rrect Attendance…</translation>
    </message>
    <message>
        <source>考勤修正记录(&amp;T)…</source>
        <translation>Correction &amp;Trail…</translation>
    </message>
    <message>
        <source>月结(&amp;L)…</source>
        <translation>C&amp;lose Month…</translation>
    </message>
    <message>
        <source>取消月结(&amp;O)…</source>
        <translation>Re&amp;open Month…</translation>
    </message>
</context>
<context>
    <name>frmCorrectionTrail</name>
    <message>
        <source>考勤修正记录</source>
        <translation>Correction Trail</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>工号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>全部员工</source>
        <translation>All employees</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>原签到</source>
        <translation>Old sign-in</translation>
    </message>
    <message>
        <source>原签退</source>
        <translation>Old sign-out</translation>
    </message>
    <message>
        <source>新签到</source>
        <translation>New sign-in</translation>
    </message>
    <message>
        <source>新签退</source>
        <translation>New sign-out</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>操作人</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>主机</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>程序</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>补签</source>
        <translation>Added</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Removed</translation>
    </message>
    <message>
        <source>月结</source>
        <translation>Month closed</translation>
    </message>
    <message>
        <source>取消月结</source>
        <translation>Month reopened</translation>
    </message>
    <message>
        <source>补传</source>
        <translation>Uploaded late</translation>
    </message>
    <message>
        <source>修改管理员密码</source>
        <translation>Admin password changed</translation>
    </message>
    <message>
        <source>结束日期不能早于开始日期！</source>
        <translation>The end date cannot be before the start date.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>读取修正记录失败：%1</source>
        <translation>Could not read the corrections: %1</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>共%1条记录</source>
        <translation>Records: %1</translation>
    </message>
    <message>
        <source>导出修正记录</source>
        <translation>Export Corrections</translation>
    </message>
    <message>
        <source>CSV文件 (*.csv *.CSV)</source>
        <translation>CSV files (*.csv *.CSV)</translation>
    </message>
    <message>
        <source>考勤修正记录_%1_%2.csv</source>
        <translation>corrections_%1_%2.csv</translation>
    </message>
    <message>
        <source>导出失败！
%1</source>
        <translation>Export failed.
%1</translation>
    </message>
    <message>
        <source>修正记录已导出！共%1条。</source>
        <translation>The corrections have been exported. Records: %1.</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>frmDeptAppend</name>
    <message>
        <source>增加新部门</source>
        <translation>New Department</translation>
    </message>
    <message>
        <source>新增部门名称</source>
        <translation>Department name</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请输入部门名称！</source>
        <translation>Please enter the department&apos;s name.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>部门名称已经存在，请重新输入！</source>
        <translation>This department already exists. Please enter another name.</translation>
    </message>
    <message>
        <source>追加部门失败！</source>
        <translation>Could not add the department.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>frmDeptEdit</name>
    <message>
        <source>修改部门名称</source>
        <translation>Rename Department</translation>
    </message>
    <message>
        <source>原名称</source>
        <translation>Old name</translation>
    </message>
    <message>
        <source>新名称</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请输入新的部门名称！</source>
        <translation>Please enter the new name.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>新的部门名称不能与原名称相同！</source>
        <translation>The new name must differ from the old one.</translation>
    </message>
    <message>
        <source>更新失败！</source>
        <translation>The update failed.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
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
        <translation>Attendance Manager</translation>
    </message>
    <message>
        <source>系统(&amp;S)</source>
        <translation>&amp;System</translation>
    </message>
    <message>
        <source>部门(&amp;D)</source>
        <translation>&amp;Departments</translation>
    </message>
    <message>
        <source>员工(&amp;E)</source>
        <translation>&amp;Employees</translation>
    </message>
    <message>
        <source>考勤(&amp;A)</source>
        <translation>&amp;Attendance</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>弹出菜单</source>
        <translation>Popup menu</translation>
    </message>
    <message>
        <source>签到卡信息设置(&amp;C)</source>
        <translation>Sign-in &amp;Card Design</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>显示列表(&amp;D)</source>
        <translation>&amp;Display List</translation>
    </message>
    <message>
        <source>追加(&amp;A)</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>删除(&amp;R)</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>修改(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>导出(&amp;O)</source>
        <translation>Exp&amp;ort</translation>
    </message>
    <message>
        <source>导入初始信息(&amp;I)</source>
        <translation>&amp;Import New Employees</translation>
    </message>
    <message>
        <source>打印签到卡(&amp;P)</source>
        <translation>&amp;Print Sign-in Cards</translation>
    </message>
    <message>
        <source>考勤统计(&amp;S)</source>
        <translation>&amp;Summary</translation>
    </message>
    <message>
        <source>今日未到(&amp;N)</source>
        <translation>&amp;Not Arrived Today</translation>
    </message>
    <message>
        <source>未签退(&amp;M)</source>
        <translation>&amp;Missing Sign-outs</translation>
    </message>
    <message>
        <source>作息时间(&amp;W)</source>
        <translation>&amp;Working Hours</translation>
    </message>
    <message>
        <source>节假日与调休(&amp;C)</source>
        <translation>Holiday &amp;Calendar</translation>
    </message>
    <message>
        <source>帮助文件(&amp;F)</source>
        <translation>Help &amp;File</translation>
    </message>
    <message>
        <source>访问官方网站(&amp;V)</source>
        <translation>&amp;Visit Home Page</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>添加(&amp;A)</source>
        <translation>&amp;Add</translation>
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
    <message>
        <source>员工号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>所属部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>签到条码</source>
        <translation>Barcode</translation>
    </message>
    <message>
        <source>部门号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>部门名称</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>读取员工信息失败！</source>
        <translation>Could not read the employees.</translation>
    </message>
    <message>
        <source>删除编号为[%1]的员工？</source>
        <translation>Remove the employee numbered [%1]?</translation>
    </message>
    <message>
        <source>询问</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>未能删除编号为[%1]的员工！</source>
        <translation>Could not remove the employee numbered [%1].</translation>
    </message>
    <message>
        <source>%1下还有员工，<byte value="xd"/>
请删除相关员工或将员工转移到其它部门后再删除本部门！</source>
        <translation>%1 still has employees.<byte value="xd"/>
Remove them or move them to another department before removing it.</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>编号为[%1]名称为[%2]的部门</source>
        <translation>Department [%1] named [%2]</translation>
    </message>
    <message>
        <source>数据库操作错误！</source>
        <translation>Database error.</translation>
    </message>
    <message>
        <source>删除%1？</source>
        <translation>Remove %1?</translation>
    </message>
    <message>
        <source>未能删除%1！</source>
        <translation>Could not remove %1.</translation>
    </message>
    <message>
        <source>员工信息_%1.xml</source>
        <translation>employees_%1.xml</translation>
    </message>
    <message>
        <source>部门信息.xml</source>
        <translation>departments.xml</translation>
    </message>
    <message>
        <source>关于 签到系统</source>
        <translation>About Attendance</translation>
    </message>
    <message>
        <source>本功能将在后继版本中实现！</source>
        <translation>This function will come in a later version.</translation>
    </message>
    <message>
        <source>提醒</source>
        <translation>Note</translation>
    </message>
</context>
<context>
    <name>frmMissingDeparture</name>
    <message>
        <source>未签退</source>
        <translation>Missing Sign-outs</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>工号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>签到时间</source>
        <translation>Sign-in</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>结束日期不能早于开始日期！</source>
        <translation>The end date cannot be before the start date.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>取得考勤信息出错！
%1</source>
        <translation>Could not read the attendance records.
%1</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>共%1条未签退记录</source>
        <translation>Sign-ins without sign-out: %1</translation>
    </message>
</context>
<context>
    <name>frmNotArrived</name>
    <message>
        <source>今日未到</source>
        <translation>Not Arrived Today</translation>
    </message>
    <message>
        <source>部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>工号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>取得考勤信息出错！
%1</source>
        <translation>Could not read the attendance records.
%1</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>%1 截至%2，未到%3人</source>
        <translation>%1 up to %2, not arrived: %3</translation>
    </message>
    <message>
        <source>今日未到（%1人）</source>
        <translation>Not Arrived Today (%1)</translation>
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
        <translation>Holiday Calendar</translation>
    </message>
    <message>
        <source>年</source>
        <translation>year</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除所选</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>CSV文件 (*.csv *.CSV)</source>
        <translation>CSV files (*.csv *.CSV)</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>等%1天</source>
        <translation> … (%1 days)</translation>
    </message>
    <message>
        <source>导入失败！日历文件第%1行：日期 %2 重复。</source>
        <translation>Import failed. Line %1 of the calendar file: the date %2 is given twice.</translation>
    </message>
    <message>
        <source>导入失败！日历文件第%1行格式不正确。</source>
        <translation>Import failed. Line %1 of the calendar file is not in the right form.</translation>
    </message>
    <message>
        <source>导入失败！日历文件格式不正确。</source>
        <translation>Import failed. The calendar file is not in the right form.</translation>
    </message>
    <message>
        <source>读取节假日安排失败！
%1</source>
        <translation>Could not read the holiday calendar.
%1</translation>
    </message>
    <message>
        <source>%1年的修改尚未保存，放弃这些修改吗？</source>
        <translation>The changes to %1 are not saved. Discard them?</translation>
    </message>
    <message>
        <source>询问</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>结束日期不能早于开始日期！</source>
        <translation>The end date cannot be before the start date.</translation>
    </message>
    <message>
        <source>日期必须在%1年之内！</source>
        <translation>The dates must lie within %1.</translation>
    </message>
    <message>
        <source>%1是工作日，不需要设为调休上班。</source>
        <translation>%1: a weekday is worked anyway, no make-up workday needed.</translation>
    </message>
    <message>
        <source>保存节假日安排失败！
%1</source>
        <translation>Could not save the holiday calendar.
%1</translation>
    </message>
    <message>
        <source>%1年的节假日安排已保存！</source>
        <translation>The holiday calendar of %1 has been saved.</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>导入日历</source>
        <translation>Import Calendar</translation>
    </message>
    <message>
        <source>导入失败！无法读取文件“%1”。</source>
        <translation>Import failed. The file “%1” cannot be read.</translation>
    </message>
    <message>
        <source>日历文件中没有日期，未做任何修改。</source>
        <translation>The calendar file holds no date; nothing was changed.</translation>
    </message>
    <message>
        <source>导入失败！
%1</source>
        <translation>Import failed.
%1</translation>
    </message>
    <message>
        <source>%1年%2个日期</source>
        <translation>%1: dates %2</translation>
    </message>
    <message>
        <source>已导入并保存%1；文件中没有的年份未改变。</source>
        <translation>Imported and saved %1; the years not in the file are unchanged.</translation>
    </message>
    <message>
        <source>
注意：%1是工作日，设为调休上班不起作用。</source>
        <translation>
Note: %1: a weekday is worked anyway, a make-up workday has no effect.</translation>
    </message>
    <message>
        <source>导出日历</source>
        <translation>Export Calendar</translation>
    </message>
    <message>
        <source>节假日安排_%1.csv</source>
        <translation>holidays_%1.csv</translation>
    </message>
    <message>
        <source>导出失败！
%1</source>
        <translation>Export failed.
%1</translation>
    </message>
    <message>
        <source>日历文件已导出！</source>
        <translation>The calendar file has been exported.</translation>
    </message>
</context>
<context>
    <name>frmWorkSchedule</name>
    <message>
        <source>作息时间</source>
        <translation>Working Hours</translation>
    </message>
    <message>
        <source>适用范围</source>
        <translation>Applies to</translation>
    </message>
    <message>
        <source>使用单位作息</source>
        <translation>Use the unit&apos;s hours</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>读取作息时间失败！
%1</source>
        <translation>Could not read the working hours.
%1</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>星期一</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>星期二</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>星期三</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>星期四</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>星期五</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>星期六</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>星期日</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>工作日</source>
        <translation>Working</translation>
    </message>
    <message>
        <source>上班时间</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>下班时间</source>
        <translation>End</translation>
    </message>
    <message>
        <source>迟到宽限(分钟)</source>
        <translation>Late grace (m)</translation>
    </message>
    <message>
        <source>早退宽限(分钟)</source>
        <translation>Early grace (m)</translation>
    </message>
    <message>
        <source>全单位</source>
        <translation>Whole unit</translation>
    </message>
    <message>
        <source>宽限时间应在0到%1分钟之间！</source>
        <translation>The grace must be between 0 and %1 minutes.</translation>
    </message>
    <message>
        <source>下班时间必须晚于上班时间！</source>
        <translation>The end must be later than the start.</translation>
    </message>
    <message>
        <source>%1 %2：%3</source>
        <translation>%1, %2: %3</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>作息时间的修改尚未保存，放弃这些修改吗？</source>
        <translation>The changes to the working hours are not saved. Discard them?</translation>
    </message>
    <message>
        <source>询问</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>保存作息时间失败！
%1</source>
        <translation>Could not save the working hours.
%1</translation>
    </message>
    <message>
        <source>作息时间已保存！</source>
        <translation>The working hours have been saved.</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>mdMain</name>
    <message>
        <source>签到系统管理软件</source>
        <translation>Attendance Manager</translation>
    </message>
</context>
</TS>
